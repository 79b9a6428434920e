// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>

#include <QAction>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "core/factorization.h"
#include "gui_fixture.h"
#include "mainwin/frm_help.h"
#include "mainwin/frm_pendro.h"
#include "toolkit/text_box.h"
#include "toolkit/twips.h"

using pendro::frmPendro;
using pendro::testing::control;

Q_DECLARE_METATYPE(pendro::TrainerKind)

namespace {

const QString Rejected = QString::fromUtf8(pendro::RejectionMessage);

// QTest::keyClicks takes ASCII only; other characters arrive as a key event carrying the text.
void typeInto(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(widget, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

QString indexed(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<pendro::PendroApplication> m_app;
    frmPendro* window() const { return m_app->mainWindow(); }

    QLineEdit* field(const char* name, int index) const
    {
        return control<QLineEdit>(window(), qPrintable(indexed(name, index)));
    }
    QString labelText(const char* name) const { return control<QLabel>(window(), name)->text(); }
    QAction* action(const char* name) const { return control<QAction>(window(), name); }
    void click(const char* button) const
    {
        QTest::mouseClick(control<QPushButton>(window(), button), Qt::LeftButton);
    }

private slots:
    void initTestCase() { pendro::testing::prepareApplication(); }

    void init()
    {
        m_app = std::make_unique<pendro::PendroApplication>();
        QVERIFY(QTest::qWaitForWindowActive(window()));
    }

    void cleanup()
    {
        m_app.reset();
        QApplication::clipboard()->clear();
        QVERIFY(pendro::testing::visibleWindowNames().isEmpty());
    }

    void opensWithTitleCountAndPrimeList()
    {
        QCOMPARE(window()->windowTitle(), QStringLiteral("Pendro       Version 2.0.0"));
        QCOMPARE(labelText("lblAnz"), QStringLiteral("12251"));
        QCOMPARE(
            labelText("Label11") + labelText("Label3"), QStringLiteral("Primzahlen bis 131072:"));

        auto* list = control<QListView>(window(), "List1");
        QVERIFY(list->uniformItemSizes());
        const QAbstractItemModel* model = list->model();
        QCOMPARE(model->rowCount(), 12251);
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("2"));
        QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("3"));
        QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("5"));
        QCOMPARE(model->index(12250, 0).data().toString(), QStringLiteral("131071"));

        for (int i = 0; i < pendro::NumberFieldCount; ++i) {
            QVERIFY(field("txtZ1", i)->text().isEmpty());
            QVERIFY(field("txtPF1", i)->text().isEmpty());
        }
        QVERIFY(labelText("lblKGV").isEmpty());
        QVERIFY(labelText("lblGGT").isEmpty());
    }

    void opensWithFocusInFirstNumberField()
    {
        QCOMPARE(QApplication::focusWidget(), field("txtZ1", 0));
    }

    void tabVisitsNumberFieldsThenStartListAndC()
    {
        QStringList expected;
        for (int i = 1; i < pendro::NumberFieldCount; ++i)
            expected << indexed("txtZ1", i);
        expected << QStringLiteral("btStart") << QStringLiteral("List1") << QStringLiteral("btC")
                 << QStringLiteral("txtZ1_0");

        QStringList visited;
        for (qsizetype step = 0; step < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void factorFieldsAreNoTabStopsAndTakeAnyText()
    {
        QLineEdit* factors = field("txtPF1", 2);
        QCOMPARE(factors->focusPolicy(), Qt::ClickFocus);
        QTest::mouseClick(factors, Qt::LeftButton);
        QTest::keyClicks(factors, QStringLiteral("a-1,"));
        QCOMPARE(factors->text(), QStringLiteral("a-1,"));
    }

    void numberFieldTakesOnlyDigits_data()
    {
        // Each row starts from a field holding "12" with the caret at its end, presses keys,
        // then types text.
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");

        const QKeySequence none;
        QTest::newRow("digit appended") << QString() << none << "7"
                                        << "127";
        QTest::newRow("letter") << QString() << none << "a"
                                << "12";
        QTest::newRow("minus") << QString() << none << "-"
                               << "12";
        QTest::newRow("comma") << QString() << none << ","
                               << "12";
        QTest::newRow("point") << QString() << none << "."
                               << "12";
        QTest::newRow("umlaut") << QString() << none << "ä"
                                << "12";
        QTest::newRow("digits among others") << QString() << none << "3x4-5"
                                             << "12345";
        QTest::newRow("backspace") << QString() << QKeySequence(Qt::Key_Backspace) << ""
                                   << "12";
        QTest::newRow("delete after home")
            << QString() << QKeySequence(Qt::Key_Home, Qt::Key_Delete) << ""
            << "2";
        QTest::newRow("delete after left")
            << QString() << QKeySequence(Qt::Key_Left, Qt::Key_Delete) << ""
            << "1";
        QTest::newRow("digit after home") << QString() << QKeySequence(Qt::Key_Home) << "9"
                                          << "912";
        QTest::newRow("ctrl+v") << "99" << QKeySequence(Qt::CTRL | Qt::Key_V) << ""
                                << "12";
        QTest::newRow("ctrl+x on a selection")
            << QString() << QKeySequence(Qt::SHIFT | Qt::Key_Home, Qt::CTRL | Qt::Key_X) << ""
            << "12";
        QTest::newRow("shift+insert filters the clipboard")
            << "1a2" << QKeySequence(Qt::SHIFT | Qt::Key_Insert) << ""
            << "1212";
        QTest::newRow("shift+insert replaces a selection")
            << "7,5" << QKeySequence(Qt::SHIFT | Qt::Key_Home, Qt::SHIFT | Qt::Key_Insert) << ""
            << "75";
    }

    void numberFieldTakesOnlyDigits()
    {
        QFETCH(QString, clipboard);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, typed);
        QFETCH(QString, expected);

        QApplication::clipboard()->setText(clipboard);
        QLineEdit* number = field("txtZ1", 3);
        QTest::mouseClick(number, Qt::LeftButton);
        QTest::keyClicks(number, QStringLiteral("12"));
        QCOMPARE(number->text(), QStringLiteral("12"));

        if (!keys.isEmpty())
            QTest::keySequence(number, keys);
        typeInto(number, typed);
        QCOMPARE(number->text(), expected);
    }

    void pastedTextKeepsOnlyDigits()
    {
        auto* number = control<pendro::TextBox>(window(), "txtZ1_0");
        number->typeText(QStringLiteral("1a2"));
        QCOMPARE(number->text(), QStringLiteral("12"));
    }

    // A tablet shows its numeric keyboard for the number fields and its full one for the factor
    // fields, which take any text; neither completes or capitalises words.
    void numberFieldsAskForTheNumericKeyboard()
    {
        for (int i = 0; i < 8; ++i) {
            QVERIFY(field("txtZ1", i)->inputMethodHints() & Qt::ImhDigitsOnly);
            QVERIFY(!(field("txtPF1", i)->inputMethodHints() & Qt::ImhDigitsOnly));
            QVERIFY(field("txtPF1", i)->inputMethodHints() & Qt::ImhNoPredictiveText);
        }
    }

    void runsOverTheFields_data()
    {
        QTest::addColumn<bool>("strict");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("numbersAfter");
        QTest::addColumn<QStringList>("factors");
        QTest::addColumn<QString>("ggt");
        QTest::addColumn<QString>("kgv");

        const QStringList help { "18", "12", "30", "42", "36" };
        QTest::newRow("help example")
            << false << help << help
            << QStringList { "2 * 3 * 3", "2 * 2 * 3", "2 * 3 * 5", "2 * 3 * 7", "2 * 2 * 3 * 3" }
            << "6"
            << "1260";
        QTest::newRow("rejected beside a good number")
            << false << QStringList { "1000000007", "10" } << QStringList { "1000000007", "10" }
            << QStringList { Rejected, "2 * 5" } << "10"
            << "10";
        QTest::newRow("zero emptied")
            << false << QStringList { "12", "0" } << QStringList { "12", "" }
            << QStringList { "2 * 2 * 3", "" } << "12"
            << "12";
        QTest::newRow("start factors above the table")
            << false << QStringList { "140000", "15" } << QStringList { "140000", "15" }
            << QStringList { "2 * 2 * 2 * 2 * 2 * 5 * 5 * 5 * 5 * 7", "3 * 5" } << "5"
            << "420000";
        QTest::newRow("HNBerechnen rejects above the table")
            << true << QStringList { "140000", "15" } << QStringList { "140000", "15" }
            << QStringList { Rejected, "3 * 5" } << "15"
            << "15";
    }

    void runsOverTheFields()
    {
        QFETCH(bool, strict);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, numbersAfter);
        QFETCH(QStringList, factors);
        QFETCH(QString, ggt);
        QFETCH(QString, kgv);

        // Stale texts everywhere: a run must overwrite every factor field and both labels.
        for (int i = 0; i < pendro::NumberFieldCount; ++i) {
            field("txtPF1", i)->setText(QStringLiteral("alt"));
            if (i < numbers.size())
                QTest::keyClicks(field("txtZ1", i), numbers[i]);
        }
        control<QLabel>(window(), "lblGGT")->setText(QStringLiteral("alt"));
        control<QLabel>(window(), "lblKGV")->setText(QStringLiteral("alt"));

        if (strict)
            window()->HNBerechnen();
        else
            click("btStart");

        for (int i = 0; i < pendro::NumberFieldCount; ++i) {
            QCOMPARE(field("txtZ1", i)->text(), numbersAfter.value(i));
            QCOMPARE(field("txtPF1", i)->text(), factors.value(i));
        }
        QCOMPARE(labelText("lblGGT"), ggt);
        QCOMPARE(labelText("lblKGV"), kgv);
    }

    void emptyingKeepsTheList_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("C button") << true;
        QTest::newRow("ClearMainFields") << false;
    }

    void emptyingKeepsTheList()
    {
        QFETCH(bool, byButton);
        for (int i = 0; i < pendro::NumberFieldCount; ++i)
            window()->setNumberText(i, QString::number(10 + i));
        click("btStart");
        QCOMPARE(window()->kgvCaption(), QStringLiteral("4084080"));

        if (byButton)
            click("btC");
        else
            window()->ClearMainFields();

        for (int i = 0; i < pendro::NumberFieldCount; ++i) {
            QVERIFY(window()->numberText(i).isEmpty());
            QVERIFY(field("txtPF1", i)->text().isEmpty());
        }
        QVERIFY(window()->kgvCaption().isEmpty());
        QVERIFY(window()->ggtCaption().isEmpty());
        QCOMPARE(labelText("lblAnz"), QStringLiteral("12251"));
        QCOMPARE(control<QListView>(window(), "List1")->model()->rowCount(), 12251);
        QCOMPARE(window()->windowTitle(), QStringLiteral("Pendro       Version 2.0.0"));
    }

    // The platform may have a menu font of its own (Windows does); the menus keep Pendro's.
    void menusAreInTheWindowsFont()
    {
        QMenuBar* bar = window()->menuBar();
        const QFont barFont = bar->font();
        QCOMPARE(barFont.family(), QStringLiteral("Arial"));
        QCOMPARE(barFont.pointSizeF(), 8.25);
        QMenu* trainers = bar->actions().at(1)->menu();
        QVERIFY(trainers);
        QCOMPARE(trainers->font().family(), QStringLiteral("Arial"));
        QCOMPARE(trainers->font().pointSizeF(), 8.25);
    }

    // The menu bar and the buttons by keyboard alone: each row's keys go to whatever has the
    // focus, the way a pupil types them.
    void keyboardReachesMenusAndButtons_data()
    {
        QTest::addColumn<QString>("keys"); // key names as QKeySequence writes them, by blanks
        QTest::addColumn<QString>("activeEntry"); // the menu bar's chosen entry afterwards
        QTest::addColumn<QStringList>("windows"); // the windows then on screen
        const QStringList main { "frmPendro" };
        QTest::newRow("F10 chooses the first entry") << "F10"
                                                     << "Beenden" << main;
        QTest::newRow("F10, Right") << "F10 Right"
                                    << "menBruchrechnung" << main;
        QTest::newRow("F10 twice leaves the menu bar") << "F10 F10"
                                                       << "" << main;
        QTest::newRow("F10, Return ends the program") << "F10 Return"
                                                      << "" << QStringList();
        QTest::newRow("Alt+H opens the help") << "Alt+H"
                                              << "" << QStringList { "frmHelp", "frmPendro" };
        QTest::newRow("Alt+T, M opens the multiplication trainer")
            << "Alt+T M"
            << "" << QStringList { "frmPendro", "frmTM" };
        QTest::newRow("Ctrl+Q ends the program") << "Ctrl+Q"
                                                 << "" << QStringList();
    }
    void keyboardReachesMenusAndButtons()
    {
        QFETCH(QString, keys);
        QFETCH(QString, activeEntry);
        QFETCH(QStringList, windows);
        for (const QString& key : keys.split(QLatin1Char(' '))) {
            const QKeyCombination combination = QKeySequence(key)[0];
            QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                                : QApplication::focusWidget();
            QVERIFY2(target, qPrintable(key));
            QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
        }
        QTRY_COMPARE(pendro::testing::visibleWindowNames(), windows);
        // An entry chosen by its letter lights up for a moment, as a pressed button does.
        const auto active = [this] {
            const QAction* action = window()->menuBar()->activeAction();
            return action ? action->objectName() : QString();
        };
        if (windows.contains(QStringLiteral("frmPendro")))
            QTRY_COMPARE(active(), activeEntry);
    }

    void returnPressesTheFocusedButton()
    {
        field("txtZ1", 0)->setText(QStringLiteral("12"));
        control<QPushButton>(window(), "btStart")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(field("txtPF1", 0)->text(), QStringLiteral("2 * 2 * 3"));
        control<QPushButton>(window(), "btC")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(field("txtZ1", 0)->text(), QString());
    }

    void menuBarHoldsFourEntriesInOrder()
    {
        const QList<QAction*> entries = window()->menuBar()->actions();
        QStringList names;
        for (const QAction* entry : entries)
            names << entry->objectName();
        QCOMPARE(names,
            (QStringList { QStringLiteral("Beenden"), QStringLiteral("menBruchrechnung"),
                QStringLiteral("menAnsicht"), QStringLiteral("Hilfe") }));
        // Captions as shown, the letter for Alt marked with "&".
        QCOMPARE(entries[0]->text(), QStringLiteral("&Beenden"));
        QVERIFY(!entries[0]->menu());
        QCOMPARE(entries[1]->text(), QStringLiteral("&Trainer Bruchrechnung"));
        QVERIFY(entries[1]->menu());
        QCOMPARE(entries[2]->text(), QStringLiteral("&Ansicht"));
        QVERIFY(entries[2]->menu());
        QCOMPARE(entries[3]->text(), QStringLiteral("&Hilfe"));
        QVERIFY(!entries[3]->menu());

        // The trainers, then behind a separator the worksheet, which Ctrl+P asks for anywhere.
        QStringList trainers;
        for (const QAction* entry : entries[1]->menu()->actions())
            trainers << entry->objectName() + QLatin1Char('=') + entry->text();
        QCOMPARE(trainers,
            (QStringList { QStringLiteral("menTAS=Trainer &Addition und Subtraktion"),
                QStringLiteral("menTM=Trainer &Multiplikation"),
                QStringLiteral("menTD=Trainer &Division"), QStringLiteral("="),
                QString::fromUtf8("menArbeitsblatt=Arbeits&blatt erstellen…") }));
        QVERIFY(entries[1]->menu()->actions().at(3)->isSeparator());
        QCOMPARE(action("menArbeitsblatt")->shortcut(), QKeySequence(QKeySequence::Print));
        QCOMPARE(action("menArbeitsblatt")->shortcutContext(), Qt::ApplicationShortcut);

        // The zoom entries show their keys; they work in every window (test_zoom).
        QStringList view;
        for (const QAction* entry : entries[2]->menu()->actions()) {
            view << entry->objectName() + QLatin1Char('=') + entry->text() + QLatin1Char(' ')
                    + entry->shortcut().toString(QKeySequence::PortableText);
            QCOMPARE(entry->shortcutContext(), Qt::ApplicationShortcut);
        }
        QCOMPARE(view,
            (QStringList { QString::fromUtf8("menVergroessern=&Vergrößern Ctrl++"),
                QStringLiteral("menVerkleinern=Ver&kleinern Ctrl+-"),
                QString::fromUtf8("menOriginalgroesse=&Originalgröße Ctrl+0") }));
        QVERIFY(entries[2]->menu()->actions().at(0)->shortcuts().contains(
            QKeySequence(Qt::CTRL | Qt::Key_Equal)));
    }

    void trainerEntriesAskForTheirTrainer_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<pendro::TrainerKind>("kind");
        QTest::newRow("menTAS") << "menTAS" << pendro::TrainerKind::AddSub;
        QTest::newRow("menTM") << "menTM" << pendro::TrainerKind::Mul;
        QTest::newRow("menTD") << "menTD" << pendro::TrainerKind::Div;
    }

    void trainerEntriesAskForTheirTrainer()
    {
        QFETCH(QString, entry);
        QFETCH(pendro::TrainerKind, kind);
        QSignalSpy requests(window(), &frmPendro::trainerRequested);
        action(qPrintable(entry))->trigger();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).at(0).value<pendro::TrainerKind>(), kind);
    }

    void helpTwiceShowsOneWindow()
    {
        action("Hilfe")->trigger();
        const QPointer<pendro::frmHelp> first = m_app->helpWindow();
        QVERIFY(first);
        action("Hilfe")->trigger();
        QCOMPARE(m_app->helpWindow(), first.data());
        // A window of its own, not a child of the main window.
        QVERIFY(!first->parent());
        int helpWindows = 0;
        for (const QWidget* widget : QApplication::topLevelWidgets())
            helpWindows += widget->objectName() == QLatin1String("frmHelp") ? 1 : 0;
        QCOMPARE(helpWindows, 1);
        QVERIFY(m_app->helpWindow()->isVisible());
    }

    void closedHelpIsCreatedAfresh()
    {
        action("Hilfe")->trigger();
        const QPointer<pendro::frmHelp> first = m_app->helpWindow();
        QVERIFY(first);
        first->close();
        QTRY_VERIFY(!first);

        action("Hilfe")->trigger();
        QVERIFY(m_app->helpWindow());
        QVERIFY(m_app->helpWindow()->isVisible());
    }

    void closingTheMainWindowClosesAll_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("Beenden") << true;
        QTest::newRow("title bar") << false;
    }

    void closingTheMainWindowClosesAll()
    {
        QFETCH(bool, byMenu);
        action("Hilfe")->trigger();
        QCOMPARE(pendro::testing::visibleWindowNames(),
            (QStringList { QStringLiteral("frmHelp"), QStringLiteral("frmPendro") }));

        if (byMenu)
            action("Beenden")->trigger();
        else
            window()->close();

        QVERIFY(pendro::testing::visibleWindowNames().isEmpty());
    }

    void controlsSitAtTheirTwips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");

        QTest::newRow("txtZ1_3") << "txtZ1_3" << 720.0 << 1200.0 << 1215.0 << 285.0;
        QTest::newRow("txtPF1_7") << "txtPF1_7" << 2100.0 << 2400.0 << 4815.0 << 285.0;
        QTest::newRow("Label8") << "Label8" << 120.0 << 900.0 << 495.0 << 255.0;
        QTest::newRow("List1") << "List1" << 2100.0 << 2760.0 << 1395.0 << 900.0;
        QTest::newRow("lblAnz") << "lblAnz" << 420.0 << 2760.0 << 615.0 << 195.0;
        QTest::newRow("btStart") << "btStart" << 5760.0 << 3240.0 << 1215.0 << 435.0;
        QTest::newRow("btC") << "btC" << 5160.0 << 3240.0 << 495.0 << 435.0;
    }

    void controlsSitAtTheirTwips()
    {
        QFETCH(QString, name);
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(double, width);
        QFETCH(double, height);

        const auto* widget = control<QWidget>(window(), qPrintable(name));
        const pendro::TwipsRect rect = pendro::twipsGeometry(widget);
        QCOMPARE(rect.left, left);
        QCOMPARE(rect.top, top);
        QCOMPARE(rect.width, width);
        QCOMPARE(rect.height, height);
        QCOMPARE(widget->geometry(),
            QRect(pendro::twipsToPixels(left), pendro::twipsToPixels(top),
                pendro::twipsToPixels(width), pendro::twipsToPixels(height)));
    }

    void clientAreaIsFixed()
    {
        QCOMPARE(window()->centralWidget()->size(), QSize(468, 249));
        QCOMPARE(window()->minimumSize(), window()->maximumSize());
    }

    void controlsCarryTheirLooks()
    {
        const auto* start = control<QPushButton>(window(), "btStart");
        QCOMPARE(start->font().pointSizeF(), 14.25);
        QVERIFY(start->font().bold());
        QCOMPARE(start->toolTip(), QStringLiteral("Startet die Primfaktorzerlegung"));
        const auto* clear = control<QPushButton>(window(), "btC");
        QCOMPARE(clear->palette().color(QPalette::Button), QColor(255, 192, 192));
        QCOMPARE(clear->toolTip(), QStringLiteral("Löscht alle Eingabefelder"));
        QCOMPARE(field("txtZ1", 5)->font().pointSizeF(), 8.25);
        QCOMPARE(field("txtZ1", 5)->toolTip(),
            QStringLiteral("Nur Ziffern erlaubt (kein Komma und kein Punkt)."));
        QVERIFY(field("txtPF1", 5)->toolTip().isEmpty());
        QCOMPARE(control<QLabel>(window(), "Label6")->toolTip(),
            QStringLiteral("kleinstes gemeinsame Vielfache"));
        QCOMPARE(control<QLabel>(window(), "lblKGV")->toolTip(),
            QStringLiteral("kleinstes gemeinsames Vielfache"));

        // The icon comes from a resource of a static library, which is easily lost at link time.
        QVERIFY(!window()->windowIcon().availableSizes().isEmpty());

        const QString credit = labelText("Label4");
        QVERIFY(credit.contains(QLatin1String("Pendro")));
        QVERIFY(credit.contains(QLatin1String("2013")));
    }

    void controlsAreNamedForScreenReaders_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("accessibleName");
        QTest::addColumn<QString>("accessibleDescription");

        QTest::newRow("txtZ1_0") << "txtZ1_0"
                                 << "Zahl 1"
                                 << "";
        QTest::newRow("txtZ1_7") << "txtZ1_7"
                                 << "Zahl 8"
                                 << "";
        QTest::newRow("txtPF1_2") << "txtPF1_2"
                                  << "Primfaktoren von Zahl 3"
                                  << "";
        QTest::newRow("lblKGV") << "lblKGV"
                                << ""
                                << "kgV";
        QTest::newRow("lblGGT") << "lblGGT"
                                << ""
                                << "ggT";
        QTest::newRow("lblAnz") << "lblAnz"
                                << ""
                                << "Anzahl der Primzahlen";
        QTest::newRow("List1") << "List1"
                               << "Primzahlen bis 131072"
                               << "";
        QTest::newRow("btStart") << "btStart"
                                 << "Start"
                                 << "";
        QTest::newRow("btC") << "btC"
                             << "Alle Eingaben löschen"
                             << "";
    }

    void controlsAreNamedForScreenReaders()
    {
        QFETCH(QString, name);
        QFETCH(QString, accessibleName);
        QFETCH(QString, accessibleDescription);
        const auto* widget = control<QWidget>(window(), qPrintable(name));
        QCOMPARE(widget->accessibleName(), accessibleName);
        QCOMPARE(widget->accessibleDescription(), accessibleDescription);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
