// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/pendro_app.h"
#include "mainwin/frm_pendro.h"
#include "tests/gui/gui_fixture.h"
#include "tests/reference_fraction.h"
#include "toolkit/announcement.h"
#include "toolkit/line_control.h"
#include "toolkit/text_box.h"
#include "toolkit/twips.h"
#include "trainer/trainer_frame.h"

using namespace pendro;
using pendro::testing::arrayMember;
using pendro::testing::control;

Q_DECLARE_METATYPE(pendro::TrainerKind)

namespace {

const char* menuActionOf(TrainerKind kind)
{
    return trainerKindEntry(kind).menuActionName;
}

const char* windowNameOf(TrainerKind kind)
{
    return trainerKindEntry(kind).data.objectName;
}

void addKindRows()
{
    QTest::addColumn<TrainerKind>("kind");
    QTest::newRow("frmTAS") << TrainerKind::AddSub;
    QTest::newRow("frmTM") << TrainerKind::Mul;
    QTest::newRow("frmTD") << TrainerKind::Div;
}

} // namespace

class TestTrainerFrame : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PendroApplication> m_app;

    // Opens a trainer the way a user does: through the main window's menu.
    QWidget* open(TrainerKind kind)
    {
        control<QAction>(m_app->mainWindow(), menuActionOf(kind))->trigger();
        QWidget* window = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String(windowNameOf(kind)) && widget->isVisible())
                window = widget;
        }
        if (!window)
            qFatal("the menu did not open %s", windowNameOf(kind));
        return window;
    }

    static void closeAndProcess(QWidget* window)
    {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void initTestCase() { pendro::testing::prepareApplication(); }
    void init() { m_app = std::make_unique<PendroApplication>(); }
    void cleanup()
    {
        m_app.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void opensInTheFreshState_data() { addKindRows(); }
    void opensInTheFreshState()
    {
        QFETCH(TrainerKind, kind);
        QWidget* w = open(kind);
        const bool addSub = kind == TrainerKind::AddSub;

        for (const char* name : { "txtZ1_0", "txtZ1_1", "txtN1_0", "txtN1_1" }) {
            QVERIFY2(control<QLineEdit>(w, name)->isVisible(), name);
            QCOMPARE(control<QLineEdit>(w, name)->text(), QString());
        }
        QVERIFY(control<Line>(w, "L1_0")->isVisible());
        QVERIFY(control<Line>(w, "L1_1")->isVisible());
        for (const char* name :
            { "txtZ1_2", "txtN1_7", "txtG2", "txtZ2_0", "txtG3", "txtZ3", "txtHN5", "txtGZ5" })
            QVERIFY2(control<QLineEdit>(w, name)->isHidden(), name);
        for (const char* name : { "lblEZ1", "lblGZ", "lblG6", "Label7", "Label8" })
            QVERIFY2(control<QLabel>(w, name)->isHidden(), name);
        QVERIFY(control<Line>(w, "L2")->isHidden());
        QVERIFY(control<Line>(w, "L15")->isHidden());

        QCOMPARE(control<QComboBox>(w, "cbAG")->currentText(), QStringLiteral("2"));
        QCOMPARE(control<QComboBox>(w, "cbAG")->count(), 4);
        for (const char* name : { "cbZBZ", "cbZBN" }) {
            auto* range = control<QComboBox>(w, name);
            QVERIFY(range->isHidden());
            QCOMPARE(range->currentText(), QStringLiteral("10"));
            QCOMPARE(range->count(), addSub ? 2 : 4);
        }
        QCOMPARE(control<QLabel>(w, "lblVersuche")->text(), QStringLiteral("0"));
        QCOMPARE(control<QLabel>(w, "lblGut")->text(), QStringLiteral("0"));
        QCOMPARE(control<QLabel>(w, "lblVon")->text(), QStringLiteral("0"));
        QCOMPARE(control<QLabel>(w, "lblVT")->text(), QStringLiteral("Versuche"));
        QCOMPARE(control<QLabel>(w, "lblEDB")->text(), QString());
        QVERIFY(control<QLabel>(w, "lblEDB")->isVisible());
        for (const char* name : { "cbClear", "cbNeu", "cbP" })
            QVERIFY2(control<QPushButton>(w, name)->isVisible(), name);
        QCOMPARE(control<QPushButton>(w, "cbP")->text(),
            kind == TrainerKind::Mul ? QStringLiteral("Ergebnis überprüfen")
                                     : QStringLiteral("Ergebnis Überprüfen"));
        // Captions wrap between words, so each word must fit the button on its own.
        for (const char* name : { "cbNeu", "cbP" }) {
            auto* button = control<QPushButton>(w, name);
            for (const QString& word : button->text().split(QLatin1Char(' '))) {
                QVERIFY2(button->fontMetrics().horizontalAdvance(word) <= button->width() - 8,
                    qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(name), word)));
            }
        }
        const QString credit = control<QLabel>(w, "Label5")->text();
        QVERIFY(
            credit.contains(QStringLiteral("Pendro")) && credit.contains(QStringLiteral("2013")));

        if (addSub) {
            QCOMPARE(w->windowTitle(),
                QStringLiteral("Trainer für die Addition und Subtraktion gemeiner Brüche"));
            QVERIFY(control<QLineEdit>(w, "txtV1_0")->isVisible());
            QVERIFY(control<QLineEdit>(w, "txtV1_1")->isVisible());
            QVERIFY(control<QLineEdit>(w, "txtV1_2")->isHidden());
            QVERIFY(!w->findChild<QCheckBox*>(QStringLiteral("cbMinus")));
            QVERIFY(!w->findChild<QLabel*>(QStringLiteral("lblV1_0")));
        } else {
            const QString sign
                = kind == TrainerKind::Mul ? QStringLiteral("*") : QStringLiteral(":");
            QCOMPARE(control<QLabel>(w, "lblV1_0")->text(), sign);
            QVERIFY(control<QLabel>(w, "lblV1_0")->isVisible());
            QVERIFY(control<QLabel>(w, "lblV1_1")->isHidden());
            QCOMPARE(control<QLabel>(w, "lblVZ2_0")->text(), QStringLiteral("*"));
            QVERIFY(control<QCheckBox>(w, "cbMinus")->isVisible());
            QVERIFY(!control<QCheckBox>(w, "cbMinus")->isChecked());
            QCOMPARE(control<QLineEdit>(w, "txtG2")->text(), QStringLiteral("="));
            QVERIFY(!w->findChild<QLineEdit*>(QStringLiteral("txtV1_0")));
        }
    }

    void termCountKeepsAWholeNumberFromTwoToFive_data()
    {
        QTest::addColumn<QString>("keys"); // typed one after the other at the end of "2"
        QTest::addColumn<QString>("expected");
        QTest::newRow("1 types 5") << "1"
                                   << "5";
        QTest::newRow("0 types 5") << "0"
                                   << "5";
        QTest::newRow("letter types 5") << "a"
                                        << "5";
        QTest::newRow("9 types 5") << "9"
                                   << "5";
        QTest::newRow("3 after 2 gives 5") << "3"
                                           << "5";
        QTest::newRow("backspace restores 2") << "\b"
                                              << "2";
        QTest::newRow("backspace then 4") << "\b4"
                                          << "5";
        QTest::newRow("backspace then 1") << "\b1"
                                          << "5";
        QTest::newRow("return types 5") << "\r"
                                        << "5";
        QTest::newRow("escape types 5") << "\x1b"
                                        << "5";
    }
    void termCountKeepsAWholeNumberFromTwoToFive()
    {
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        for (TrainerKind kind : { TrainerKind::AddSub, TrainerKind::Mul }) {
            QWidget* w = open(kind);
            auto* box = control<QComboBox>(w, "cbAG");
            box->lineEdit()->setFocus();
            box->lineEdit()->end(false);
            for (const QChar ch : keys) {
                if (ch == QLatin1Char('\b'))
                    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
                else if (ch == QLatin1Char('\r'))
                    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
                else if (ch == QLatin1Char('\x1b'))
                    QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
                else
                    QTest::keyClicks(box->lineEdit(), QString(ch));
            }
            QCOMPARE(box->currentText(), expected);
            QCOMPARE(box->count(), 4);
        }
    }

    void termCountTakesItemsAndControlKeys()
    {
        QWidget* w = open(TrainerKind::Div);
        auto* box = control<QComboBox>(w, "cbAG");
        box->setCurrentIndex(2);
        QCOMPARE(box->currentText(), QStringLiteral("4"));
        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->currentText(), QStringLiteral("5"));
        QVERIFY(!box->completer());
        // A typed key replaces the selection.
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("3"));
        QCOMPARE(box->currentText(), QStringLiteral("3"));
        // Pasted text meets the same rule character by character.
        box->lineEdit()->selectAll();
        static_cast<TextBox*>(box->lineEdit())->typeText(QStringLiteral("x3"));
        QCOMPARE(box->currentText(), QStringLiteral("5"));
        QCOMPARE(box->count(), 4);
    }

    void fieldsAdmitOnlyTheirCharacters_data()
    {
        QTest::addColumn<TrainerKind>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        const TrainerKind tas = TrainerKind::AddSub;
        const TrainerKind tm = TrainerKind::Mul;
        const TrainerKind td = TrainerKind::Div;
        QTest::newRow("TM numerator takes a leading sign") << tm << "txtZ1_0"
                                                           << "-3"
                                                           << "-3";
        QTest::newRow("TM numerator refuses a later sign") << tm << "txtZ1_0"
                                                           << "3-"
                                                           << "3";
        QTest::newRow("TM numerator takes plus") << tm << "txtZ1_1"
                                                 << "+4"
                                                 << "+4";
        QTest::newRow("TD row-2 numerator takes a sign") << td << "txtZ2_0"
                                                         << "-7"
                                                         << "-7";
        QTest::newRow("TM denominator refuses signs") << tm << "txtN1_0"
                                                      << "-+5"
                                                      << "5";
        QTest::newRow("TD row-2 denominator refuses signs") << td << "txtN2_1"
                                                            << "-2"
                                                            << "2";
        QTest::newRow("TAS numerator refuses signs") << tas << "txtZ1_0"
                                                     << "-3"
                                                     << "3";
        QTest::newRow("TAS denominator refuses signs") << tas << "txtN1_1"
                                                       << "+6"
                                                       << "6";
        QTest::newRow("TAS row-2 numerator refuses signs") << tas << "txtZ2_0"
                                                           << "-1"
                                                           << "1";
        QTest::newRow("TAS common denominator refuses signs") << tas << "txtHN2"
                                                              << "-12"
                                                              << "12";
        QTest::newRow("TAS row 3 takes a sign") << tas << "txtZ3"
                                                << "-5"
                                                << "-5";
        QTest::newRow("TAS whole part takes a sign") << tas << "txtGZ5"
                                                     << "-2"
                                                     << "-2";
        QTest::newRow("TM answer numerator takes a sign") << tm << "txtZ5"
                                                          << "-1"
                                                          << "-1";
        QTest::newRow("TD row-4 denominator refuses signs") << td << "txtHN4"
                                                            << "-3"
                                                            << "3";
        QTest::newRow("slash passes in a numerator") << tm << "txtZ1_0"
                                                     << "1/2"
                                                     << "1/2";
        QTest::newRow("slash passes in a denominator") << tas << "txtN1_0"
                                                       << "3/4"
                                                       << "3/4";
        QTest::newRow("slash passes in row 5") << td << "txtHN5"
                                               << "/"
                                               << "/";
        QTest::newRow("letters and comma refused") << tm << "txtZ3"
                                                   << "a1,b.2"
                                                   << "12";
        QTest::newRow("backspace works") << tas << "txtZ4"
                                         << "12\b"
                                         << "1";
        QTest::newRow("TAS operator takes minus") << tas << "txtV1_0"
                                                  << "-"
                                                  << "-";
        QTest::newRow("TAS operator one character only") << tas << "txtV1_1"
                                                         << "+-"
                                                         << "+";
        QTest::newRow("TAS operator refuses digits") << tas << "txtV2_0"
                                                     << "5="
                                                     << "";
        QTest::newRow("TAS operator backspace empties") << tas << "txtV1_0"
                                                        << "+\b-"
                                                        << "-";
    }
    void fieldsAdmitOnlyTheirCharacters()
    {
        QFETCH(TrainerKind, kind);
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QWidget* w = open(kind);
        auto* box = control<QLineEdit>(w, field.toLatin1().constData());
        box->show();
        box->setFocus();
        for (const QChar ch : keys) {
            if (ch == QLatin1Char('\b'))
                QTest::keyClick(box, Qt::Key_Backspace);
            else
                QTest::keyClicks(box, QString(ch));
        }
        QCOMPARE(box->text(), expected);
        // A paste of the same keys gives the same text as typing them.
        box->clear();
        static_cast<TextBox*>(box)->typeText(keys);
        QCOMPARE(box->text(), expected);
    }

    // A field of digits asks a tablet for the numeric on-screen keyboard; a field that takes a
    // sign, an operator field and an "=" box keep the full one, which has the signs.
    void digitFieldsAskForTheNumericKeyboard_data()
    {
        QTest::addColumn<TrainerKind>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("numeric");
        const TrainerKind tas = TrainerKind::AddSub;
        const TrainerKind tm = TrainerKind::Mul;
        const TrainerKind td = TrainerKind::Div;
        QTest::newRow("TAS numerator") << tas << "txtZ1_0" << true;
        QTest::newRow("TAS common denominator") << tas << "txtHN2" << true;
        QTest::newRow("TAS operator") << tas << "txtV1_1" << false;
        QTest::newRow("TAS row 3 numerator, signed") << tas << "txtZ3" << false;
        QTest::newRow("TM numerator, signed") << tm << "txtZ1_0" << false;
        QTest::newRow("TM denominator") << tm << "txtN1_2" << true;
        QTest::newRow("TD row-2 denominator") << td << "txtN2_0" << true;
        QTest::newRow("TD answer denominator") << td << "txtHN5" << true;
        QTest::newRow("TD whole part, signed") << td << "txtGZ5" << false;
        QTest::newRow("TD \"=\" box") << td << "txtG3" << false;
    }
    void digitFieldsAskForTheNumericKeyboard()
    {
        QFETCH(TrainerKind, kind);
        QFETCH(QString, field);
        QFETCH(bool, numeric);
        const auto* box = control<TextBox>(open(kind), qPrintable(field));
        QCOMPARE(bool(box->inputMethodHints() & Qt::ImhDigitsOnly), numeric);
        QVERIFY(box->inputMethodHints() & Qt::ImhNoPredictiveText);
    }

    void equalsBoxesShowAndHideTheirSuccessor_data() { addKindRows(); }
    void equalsBoxesShowAndHideTheirSuccessor()
    {
        QFETCH(TrainerKind, kind);
        QWidget* w = open(kind);
        auto* g2 = control<QLineEdit>(w, "txtG2");
        auto* g3 = control<QLineEdit>(w, "txtG3");
        auto* g4 = control<QLineEdit>(w, "txtG4");
        auto* g5 = control<QLineEdit>(w, "txtG5");
        g2->setText(QStringLiteral("="));
        g2->show();
        g3->show();
        g2->setFocus();
        g2->end(false);

        QTest::keyClick(g2, Qt::Key_Backspace);
        QCOMPARE(g2->text(), QString());
        QVERIFY(g3->isHidden());
        QTest::keyClicks(g2, QStringLiteral("x"));
        QCOMPARE(g2->text(), QString());
        QVERIFY(g3->isHidden());
        QTest::keyClicks(g2, QStringLiteral("="));
        QCOMPARE(g2->text(), QStringLiteral("="));
        QVERIFY(g3->isVisible());
        QTest::keyClicks(g2, QStringLiteral("="));
        QCOMPARE(g2->text(), QStringLiteral("="));

        // Backspace hides only the successor box; boxes further down keep their state.
        g3->setFocus();
        QTest::keyClicks(g3, QStringLiteral("="));
        QVERIFY(g4->isVisible());
        g4->setFocus();
        QTest::keyClicks(g4, QStringLiteral("="));
        QVERIFY(g5->isVisible());
        g3->setFocus();
        QTest::keyClick(g3, Qt::Key_Backspace);
        QVERIFY(g4->isHidden());
        QVERIFY(g5->isVisible());
        QCOMPARE(g4->text(), QStringLiteral("="));

        g5->setFocus();
        QTest::keyClicks(g5, QStringLiteral("="));
        QCOMPARE(g5->text(), QStringLiteral("="));
        QTest::keyClick(g5, Qt::Key_Backspace);
        QCOMPARE(g5->text(), QString());
        QVERIFY(g5->isVisible());
    }

    void clearResetsCountersAndTheExerciseArea_data() { addKindRows(); }
    void clearResetsCountersAndTheExerciseArea()
    {
        QFETCH(TrainerKind, kind);
        QWidget* w = open(kind);
        auto* neu = control<QPushButton>(w, "cbNeu");
        QTest::mouseClick(neu, Qt::LeftButton);
        QCOMPARE(control<QLabel>(w, "lblVon")->text(), QStringLiteral("1"));
        QVERIFY(neu->isHidden());
        TrainerCounters& counters = m_app->counters(kind);
        counters.attempts = 1;
        counters.correct = 1;

        QTest::mouseClick(control<QPushButton>(w, "cbClear"), Qt::LeftButton);
        QCOMPARE(control<QLabel>(w, "lblVersuche")->text(), QStringLiteral("0"));
        QCOMPARE(control<QLabel>(w, "lblGut")->text(), QStringLiteral("0"));
        QCOMPARE(control<QLabel>(w, "lblVon")->text(), QStringLiteral("0"));
        QCOMPARE(control<QLabel>(w, "lblVT")->text(), QStringLiteral("Versuche"));
        QCOMPARE(counters.attempts, 0);
        QCOMPARE(counters.correct, 0);
        QCOMPARE(counters.exercises, 0);
        QVERIFY(neu->isVisible());
        QVERIFY(control<QPushButton>(w, "cbP")->isVisible());
        for (QLineEdit* field : w->findChildren<QLineEdit*>()) {
            if (field->parentWidget() == w)
                QVERIFY2(field->isHidden(), qPrintable(field->objectName()));
        }
        for (Line* line : w->findChildren<Line*>())
            QVERIFY2(line->isHidden(), qPrintable(line->objectName()));
        if (kind != TrainerKind::AddSub)
            QCOMPARE(control<QLabel>(w, "lblV1_0")->text(),
                kind == TrainerKind::Mul ? QStringLiteral("*") : QStringLiteral(":"));

        QTest::mouseClick(neu, Qt::LeftButton);
        QCOMPARE(control<QLabel>(w, "lblVon")->text(), QStringLiteral("1"));
    }

    void countersSurviveAClosedWindow_data() { addKindRows(); }
    void countersSurviveAClosedWindow()
    {
        QFETCH(TrainerKind, kind);
        QWidget* w = open(kind);
        auto* neu = control<QPushButton>(w, "cbNeu");
        for (int i = 0; i < 3; ++i) {
            neu->show();
            QTest::mouseClick(neu, Qt::LeftButton);
        }
        m_app->counters(kind).attempts = 1;
        closeAndProcess(w);

        w = open(kind);
        QCOMPARE(control<QLabel>(w, "lblVon")->text(), QStringLiteral("3"));
        QCOMPARE(control<QLabel>(w, "lblVersuche")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLabel>(w, "lblVT")->text(), QStringLiteral("Versuch"));
        QTest::mouseClick(control<QPushButton>(w, "cbNeu"), Qt::LeftButton);
        QCOMPARE(control<QLabel>(w, "lblVon")->text(), QStringLiteral("4"));
    }

    void eachKindKeepsItsOwnCounters()
    {
        QWidget* tm = open(TrainerKind::Mul);
        QWidget* td = open(TrainerKind::Div);
        QTest::mouseClick(control<QPushButton>(tm, "cbNeu"), Qt::LeftButton);
        QCOMPARE(control<QLabel>(tm, "lblVon")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLabel>(td, "lblVon")->text(), QStringLiteral("0"));
        QCOMPARE(m_app->counters(TrainerKind::Div).exercises, 0);
    }

    void aCounterAtItsLimitStaysThere()
    {
        m_app->counters(TrainerKind::Mul).exercises = INT16_MAX;
        QWidget* w = open(TrainerKind::Mul);
        QTest::mouseClick(control<QPushButton>(w, "cbNeu"), Qt::LeftButton);
        QCOMPARE(m_app->counters(TrainerKind::Mul).exercises, INT16_MAX);
        QCOMPARE(control<QLabel>(w, "lblVon")->text(), QStringLiteral("32767"));
        QVERIFY(control<QPushButton>(w, "cbNeu")->isHidden());
    }

    void eachKindOpensOnlyOnce_data() { addKindRows(); }
    void eachKindOpensOnlyOnce()
    {
        QFETCH(TrainerKind, kind);
        QWidget* first = open(kind);
        QWidget* second = open(kind);
        QCOMPARE(first, second);
        const QStringList names = pendro::testing::visibleWindowNames();
        QCOMPARE(names.count(QLatin1String(windowNameOf(kind))), 1);
        closeAndProcess(first);
        QWidget* third = open(kind);
        QVERIFY(third->isVisible());
        QCOMPARE(pendro::testing::visibleWindowNames().count(QLatin1String(windowNameOf(kind))), 1);
    }

    // A trainer asked for again while it is minimized comes back as a window of its own size.
    void aMinimizedTrainerAskedForComesBack_data() { addKindRows(); }
    void aMinimizedTrainerAskedForComesBack()
    {
        QFETCH(TrainerKind, kind);
        QWidget* window = open(kind);
        const QSize size = window->size();
        window->showMinimized();
        QVERIFY(window->isMinimized());
        QCOMPARE(open(kind), window);
        QCOMPARE(window->windowState(), Qt::WindowNoState);
        QCOMPARE(window->size(), size);
    }

    void beendenClosesEveryWindow()
    {
        open(TrainerKind::AddSub);
        open(TrainerKind::Mul);
        open(TrainerKind::Div);
        control<QAction>(m_app->mainWindow(), "Hilfe")->trigger();
        QCOMPARE(pendro::testing::visibleWindowNames().size(), 5);
        control<QAction>(m_app->mainWindow(), "Beenden")->trigger();
        QCOMPARE(pendro::testing::visibleWindowNames(), QStringList());
    }

    void closingTheMainWindowClosesTheTrainers()
    {
        open(TrainerKind::Mul);
        open(TrainerKind::Div);
        m_app->mainWindow()->close();
        QCOMPARE(pendro::testing::visibleWindowNames(), QStringList());
    }

    void controlsStandAtTheirTwips_data()
    {
        QTest::addColumn<TrainerKind>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("width");
        const TrainerKind tas = TrainerKind::AddSub;
        const TrainerKind tm = TrainerKind::Mul;
        const TrainerKind td = TrainerKind::Div;
        QTest::newRow("TAS txtV1_2") << tas << "txtV1_2" << 2760.0 << 840.0 << 255.0;
        QTest::newRow("TAS txtZ1_1") << tas << "txtZ1_1" << 1920.0 << 660.0 << 735.0;
        QTest::newRow("TAS txtN1_4") << tas << "txtN1_4" << 5520.0 << 1080.0 << 735.0;
        QTest::newRow("TAS txtG2") << tas << "txtG2" << 60.0 << 1920.0 << 255.0;
        QTest::newRow("TAS txtV2_3") << tas << "txtV2_3" << 3960.0 << 1680.0 << 255.0;
        QTest::newRow("TAS txtZ2_0") << tas << "txtZ2_0" << 720.0 << 1680.0 << 735.0;
        QTest::newRow("TAS txtZ3") << tas << "txtZ3" << 360.0 << 2700.0 << 2295.0;
        QTest::newRow("TAS txtG4") << tas << "txtG4" << 2760.0 << 2880.0 << 255.0;
        QTest::newRow("TAS txtHN4") << tas << "txtHN4" << 3120.0 << 3120.0 << 1215.0;
        QTest::newRow("TAS txtGZ5") << tas << "txtGZ5" << 4800.0 << 2700.0 << 1515.0;
        QTest::newRow("TAS txtHN5") << tas << "txtHN5" << 6360.0 << 3120.0 << 915.0;
        QTest::newRow("TAS lblEZ1") << tas << "lblEZ1" << 3120.0 << 3720.0 << 1215.0;
        QTest::newRow("TAS lblEN2") << tas << "lblEN2" << 6360.0 << 4140.0 << 915.0;
        QTest::newRow("TAS lblEDB") << tas << "lblEDB" << 4800.0 << 4620.0 << 2535.0;
        QTest::newRow("TM txtZ1_3") << tm << "txtZ1_3" << 3960.0 << 720.0 << 735.0;
        QTest::newRow("TM txtN1_0") << tm << "txtN1_0" << 360.0 << 1140.0 << 735.0;
        QTest::newRow("TM txtZ2_2") << tm << "txtZ2_2" << 2760.0 << 1680.0 << 735.0;
        QTest::newRow("TD txtN2_1") << td << "txtN2_1" << 1560.0 << 2100.0 << 735.0;
        QTest::newRow("TD lblV1_2") << td << "lblV1_2" << 3600.0 << 840.0 << 255.0;
        QTest::newRow("TM txtG5") << tm << "txtG5" << 4440.0 << 2880.0 << 255.0;
    }
    void controlsStandAtTheirTwips()
    {
        QFETCH(TrainerKind, kind);
        QFETCH(QString, name);
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(double, width);
        QWidget* w = open(kind);
        const TwipsRect rect = twipsGeometry(control<QWidget>(w, name.toLatin1().constData()));
        QCOMPARE(rect.left, left);
        QCOMPARE(rect.top, top);
        QCOMPARE(rect.width, width);
        QCOMPARE(w->size(), QSize(566, 327));
    }

    void linesKeepTheirEndsInTwips()
    {
        QWidget* tas = open(TrainerKind::AddSub);
        auto* bar = control<Line>(tas, "L1_2");
        QCOMPARE(bar->x1(), 3120.0);
        QCOMPARE(bar->x2(), 3840.0);
        QCOMPARE(bar->y1(), 1020.0);
        QWidget* tm = open(TrainerKind::Mul);
        auto* underline = control<Line>(tm, "L9");
        QCOMPARE(underline->x1(), 4800.0);
        QCOMPARE(underline->x2(), 7260.0);
        QCOMPARE(underline->y1(), 3540.0);
        QCOMPARE(control<Line>(tm, "L1_1")->x1(), 1560.0);
        QCOMPARE(control<Line>(tm, "L1_1")->y1(), 1080.0);
    }

    // What a screen reader needs: every text field has a name, a result label keeps its text as
    // what is read (a description says what it is, a name would hide the value), every window
    // is announced as a window.
    void everyWindowIsReadableByAScreenReader()
    {
        open(TrainerKind::AddSub);
        open(TrainerKind::Mul);
        open(TrainerKind::Div);
        control<QAction>(m_app->mainWindow(), "Hilfe")->trigger();
        int windows = 0;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || !window->objectName().startsWith(QLatin1String("frm")))
                continue;
            ++windows;
            QAccessibleInterface* windowInterface = QAccessible::queryAccessibleInterface(window);
            QVERIFY(windowInterface);
            QCOMPARE(windowInterface->role(), QAccessible::Window);
            for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
                QVERIFY2(!field->accessibleName().isEmpty(),
                    qPrintable(window->objectName() + QLatin1Char('.') + field->objectName()));
            }
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (!label->accessibleDescription().isEmpty())
                    QVERIFY2(label->accessibleName().isEmpty(),
                        qPrintable(window->objectName() + QLatin1Char('.') + label->objectName()));
            }
        }
        QCOMPARE(windows, 5);
    }

    // From the last answer field the check button comes next, then "Neue Aufgabe"; "C", which
    // empties everything, comes last of the buttons, the same in every trainer.
    void tabOrderRunsThroughTheRows_data()
    {
        QTest::addColumn<TrainerKind>("kind");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("chain");
        QTest::newRow("frmTAS, row 1")
            << TrainerKind::AddSub << "txtV1_0"
            << QStringList { "txtV1_0", "txtZ1_0", "txtN1_0", "txtV1_1", "txtZ1_1", "txtN1_1" };
        const QStringList answerToButtons { "txtGZ5", "txtZ5", "txtHN5", "cbP", "cbNeu", "cbClear",
            "cbAG" };
        for (const TrainerKind kind : pendro::testing::allTrainerKinds())
            QTest::addRow("%s, answer to buttons", windowNameOf(kind))
                << kind << "txtGZ5" << answerToButtons;
    }
    void tabOrderRunsThroughTheRows()
    {
        QFETCH(TrainerKind, kind);
        QFETCH(QString, start);
        QFETCH(QStringList, chain);
        QWidget* w = open(kind);
        QStringList visited;
        QWidget* widget = control<QWidget>(w, qPrintable(start));
        while (visited.size() < chain.size()) {
            visited << widget->objectName();
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || widget->parentWidget() != w)
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(visited, chain);
    }

    // A pupil without a mouse: Tab to "Neue Aufgabe", rewrite the exercise in row 2, open rows
    // 3 to 5 from their "=" boxes with Space, Return and keypad Enter, type the answer, Tab to
    // the check and press Return. A right answer counts as right, a wrong one as an attempt.
    void aWholeExerciseWithKeysAlone_data()
    {
        QTest::addColumn<TrainerKind>("kind");
        QTest::addColumn<bool>("right");
        for (const TrainerKind kind : pendro::testing::allTrainerKinds()) {
            QTest::addRow("%s, right", windowNameOf(kind)) << kind << true;
            QTest::addRow("%s, wrong", windowNameOf(kind)) << kind << false;
        }
    }
    void aWholeExerciseWithKeysAlone()
    {
        QFETCH(TrainerKind, kind);
        QFETCH(bool, right);
        QWidget* w = open(kind);
        const auto focusName = [] { return QApplication::focusWidget()->objectName(); };
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        const auto typeAndTab = [&](const QString& text) {
            QTest::keyClicks(QApplication::focusWidget(), text);
            press(Qt::Key_Tab);
        };
        QVERIFY(QTest::qWaitForWindowActive(w));
        for (int i = 0; i < 20 && focusName() != QLatin1String("cbNeu"); ++i)
            press(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("cbNeu"));
        press(Qt::Key_Return);

        const bool addSub = kind == TrainerKind::AddSub;
        pendro::testing::Fraction result { addSub ? 0 : 1, 1 };
        for (int i = 0; i < 2; ++i) {
            const std::int64_t numerator
                = control<QLineEdit>(w, qPrintable(arrayMember("txtZ1", i)))->text().toLongLong();
            const std::int64_t denominator
                = control<QLineEdit>(w, qPrintable(arrayMember("txtN1", i)))->text().toLongLong();
            if (addSub) {
                const bool minus
                    = control<QLineEdit>(w, qPrintable(arrayMember("txtV1", i)))->text() == "-";
                result = pendro::testing::reduced(result.numerator * denominator
                        + (minus ? -numerator : numerator) * result.denominator,
                    result.denominator * denominator);
            } else if (kind == TrainerKind::Div && i > 0) {
                result = pendro::testing::reduced(
                    result.numerator * denominator, result.denominator * numerator);
            } else {
                result = pendro::testing::reduced(
                    result.numerator * numerator, result.denominator * denominator);
            }
        }
        QStringList answer = pendro::testing::mixedAnswer(result);
        if (!right)
            answer[0] = QString::number(answer[0].toInt() + 1);

        QCOMPARE(focusName(), QLatin1String(addSub ? "txtV2_0" : "txtZ2_0"));
        for (int i = 0; i < 2; ++i) {
            if (addSub)
                typeAndTab(QStringLiteral("+"));
            typeAndTab(QStringLiteral("1"));
            if (!addSub)
                typeAndTab(QStringLiteral("1"));
        }
        if (addSub)
            typeAndTab(QStringLiteral("1"));
        const std::pair<Qt::Key, Qt::KeyboardModifiers> openers[] = { { Qt::Key_Space, {} },
            { Qt::Key_Return, {} }, { Qt::Key_Enter, Qt::KeypadModifier } };
        for (int row = 3; row <= 5; ++row) {
            QCOMPARE(focusName(), QStringLiteral("txtG%1").arg(row));
            press(openers[row - 3].first, openers[row - 3].second);
            QCOMPARE(focusName(),
                row == 5 ? QStringLiteral("txtGZ5") : QStringLiteral("txtZ%1").arg(row));
            if (row < 5) {
                typeAndTab(QStringLiteral("1"));
                typeAndTab(QStringLiteral("1"));
            }
        }
        for (const QString& part : answer)
            typeAndTab(part);
        QCOMPARE(focusName(), QStringLiteral("cbP"));
        press(Qt::Key_Return);

        QCOMPARE(control<QLabel>(w, "lblVersuche")->text(), QStringLiteral("1"));
        QCOMPARE(control<QLabel>(w, "lblGut")->text(),
            right ? QStringLiteral("1") : QStringLiteral("0"));
        QCOMPARE(control<QPushButton>(w, "cbNeu")->isVisible(), right);
        const QString announced = control<Announcement>(w, "announcement")->message();
        QVERIFY2(announced.startsWith(
                     right ? QStringLiteral("Richtig!") : QStringLiteral("Leider falsch.")),
            qPrintable(announced));
    }

    // Return, keypad Enter and Space on an "=" box or an operator field do what the pointer does
    // there; the focus goes into the row that opened and stays where none did.
    void activationKeysDoWhatThePointerDoes_data()
    {
        QTest::addColumn<TrainerKind>("kind");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("filled"); // the fields typed into first
        QTest::addColumn<QString>("text"); // the box's text afterwards
        QTest::addColumn<QString>("shown"); // a control the key showed, or none
        QTest::addColumn<QString>("focus");
        const TrainerKind tas = TrainerKind::AddSub;
        const TrainerKind tm = TrainerKind::Mul;
        const TrainerKind td = TrainerKind::Div;
        const QString rowTwoMulDiv = QStringLiteral("txtZ2_0 txtN2_0 txtZ2_1 txtN2_1");
        const QString rowTwoAddSub = QStringLiteral("txtV2_0 txtZ2_0 txtV2_1 txtZ2_1 txtHN2");
        QTest::newRow("frmTM txtG3, Space, row 2 filled")
            << tm << "txtG3" << int(Qt::Key_Space) << rowTwoMulDiv << "="
            << "txtZ3"
            << "txtZ3";
        QTest::newRow("frmTD txtG3, Return, row 2 not filled")
            << td << "txtG3" << int(Qt::Key_Return) << "txtZ2_0"
            << ""
            << ""
            << "txtG3";
        QTest::newRow("frmTAS txtG3, keypad Enter, row 2 filled")
            << tas << "txtG3" << int(Qt::Key_Enter) << rowTwoAddSub << "="
            << "txtZ3"
            << "txtZ3";
        QTest::newRow("frmTM txtG4, Return, row 3 filled")
            << tm << "txtG4" << int(Qt::Key_Return) << rowTwoMulDiv + " txtG3 txtZ3 txtHN3"
            << "="
            << "txtZ4"
            << "txtZ4";
        QTest::newRow("frmTAS txtG5, Space, row 4 filled")
            << tas << "txtG5" << int(Qt::Key_Space)
            << rowTwoAddSub + " txtG3 txtZ3 txtHN3 txtG4 txtZ4 txtHN4"
            << "="
            << "txtGZ5"
            << "txtGZ5";
        QTest::newRow("frmTAS txtG2 emptied, Space")
            << tas << "txtG2" << int(Qt::Key_Space) << "txtG2"
            << "="
            << "txtG3"
            << "txtG2";
        QTest::newRow("frmTAS txtV1_0 \"+\", Return")
            << tas << "txtV1_0" << int(Qt::Key_Return) << "txtV1_0=+"
            << "-"
            << ""
            << "txtV1_0";
        QTest::newRow("frmTAS txtV1_2 \"-\", Space: the term goes, the next operator comes")
            << tas << "txtV1_2" << int(Qt::Key_Space) << "txtV1_3=+ txtV1_2=-"
            << ""
            << ""
            << "txtV1_2";
        QTest::newRow("frmTAS txtV1_3 \"=\", Space: the term comes")
            << tas << "txtV1_3" << int(Qt::Key_Space) << "txtV1_3=="
            << "+"
            << "txtZ1_3"
            << "txtV1_3"; // A browser hands a typed Space over as an input method's commit (key 0
                          // here).
        QTest::newRow("frmTM txtG3, Space from a browser, row 2 filled")
            << tm << "txtG3" << 0 << rowTwoMulDiv << "="
            << "txtZ3"
            << "txtZ3";
        QTest::newRow("frmTAS txtV1_0 \"+\", Space from a browser")
            << tas << "txtV1_0" << 0 << "txtV1_0=+"
            << "-"
            << ""
            << "txtV1_0";
    }
    void activationKeysDoWhatThePointerDoes()
    {
        QFETCH(TrainerKind, kind);
        QFETCH(QString, box);
        QFETCH(int, key);
        QFETCH(QString, filled);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(QString, focus);
        QWidget* w = open(kind);
        QVERIFY(QTest::qWaitForWindowActive(w));
        if (box.startsWith(QLatin1String("txtV1_")))
            control<QComboBox>(w, "cbAG")->setCurrentIndex(2);
        QTest::mouseClick(control<QPushButton>(w, "cbNeu"), Qt::LeftButton);
        for (const QString& entry : filled.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = entry.section(QLatin1Char('='), 0, 0);
            auto* field = control<TextBox>(w, qPrintable(name));
            if (entry.contains(QLatin1Char('='))) {
                field->setText(entry.section(QLatin1Char('='), 1));
            } else if (name == QLatin1String("txtG2")) {
                field->clear();
            } else if (name.startsWith(QLatin1String("txtG"))) {
                field->activate();
            } else {
                field->setText(name.startsWith(QLatin1String("txtV")) ? QStringLiteral("+")
                                                                      : QStringLiteral("1"));
            }
        }
        auto* target = control<TextBox>(w, qPrintable(box));
        target->setFocus();
        if (key == 0) {
            QInputMethodEvent commit;
            commit.setCommitString(QStringLiteral(" "));
            QCoreApplication::sendEvent(target, &commit);
        } else {
            QTest::keyClick(
                target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QCOMPARE(target->text(), text);
        if (!shown.isEmpty())
            QVERIFY(control<QWidget>(w, qPrintable(shown))->isVisible());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // Ctrl+W closes a trainer and the help window, Escape only the help window: a stray key never
    // throws an exercise away.
    void windowKeysCloseOnlyWhatTheyShould_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("windows");
        const QStringList mainOnly { "frmPendro" };
        QTest::newRow("Ctrl+W, trainer") << "menTD"
                                         << "frmTD"
                                         << "Ctrl+W" << mainOnly;
        QTest::newRow("Escape, trainer") << "menTAS"
                                         << "frmTAS"
                                         << "Esc" << QStringList { "frmPendro", "frmTAS" };
        QTest::newRow("Ctrl+W, help") << "Hilfe"
                                      << "frmHelp"
                                      << "Ctrl+W" << mainOnly;
        QTest::newRow("Escape, help") << "Hilfe"
                                      << "frmHelp"
                                      << "Esc" << mainOnly;
        QTest::newRow("Ctrl+Q, trainer") << "menTM"
                                         << "frmTM"
                                         << "Ctrl+Q" << QStringList();
    }
    void windowKeysCloseOnlyWhatTheyShould()
    {
        QFETCH(QString, entry);
        QFETCH(QString, window);
        QFETCH(QString, key);
        QFETCH(QStringList, windows);
        control<QAction>(m_app->mainWindow(), qPrintable(entry))->trigger();
        QWidget* opened = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == window && widget->isVisible())
                opened = widget;
        }
        QVERIFY(opened && QTest::qWaitForWindowActive(opened));
        const QKeyCombination combination = QKeySequence(key)[0];
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : opened;
        QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
        QTRY_COMPARE(pendro::testing::visibleWindowNames(), windows);
    }
};

QTEST_MAIN(TestTrainerFrame)
#include "test_trainer_frame.moc"
