// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QtTest>

#include "toolkit/combo_box.h"
#include "toolkit/line_control.h"
#include "toolkit/text_box.h"
#include "toolkit/twips.h"

using namespace pendro;

namespace {

// A rule that records what it sees and lets digits pass, turns "x" into "y" and swallows the rest.
struct RecordingRule
{
    QList<int>* seen;
    std::uint16_t operator()(std::uint16_t code) const
    {
        seen->append(code);
        if (code >= '0' && code <= '9')
            return code;
        if (code == 'x')
            return 'y';
        if (code == 8)
            return code;
        return 0;
    }
};

} // namespace

class TestToolkit : public QObject
{
    Q_OBJECT

private slots:
    void keysBecomeTheirCodes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("digit") << int(Qt::Key_5) << 0 << "5" << 53;
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << "a" << 97;
        QTest::newRow("umlaut") << int(Qt::Key_Adiaeresis) << 0 << "ä" << 228;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
        QTest::newRow("return") << int(Qt::Key_Return) << 0 << "\r" << 13;
        QTest::newRow("enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << "\x1b" << 27;
        QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier) << "" << 3;
        QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier) << "" << 22;
        QTest::newRow("ctrl+z") << int(Qt::Key_Z) << int(Qt::ControlModifier) << "" << 26;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << "" << -1;
        QTest::newRow("left") << int(Qt::Key_Left) << 0 << "" << -1;
        QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << "\t" << -1;
        QTest::newRow("f2") << int(Qt::Key_F2) << 0 << "" << -1;
    }
    void keysBecomeTheirCodes()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QCOMPARE(TextBox::keyCodeOf(&event), code);
    }

    void theRulePassesReplacesOrSwallows()
    {
        TextBox box;
        QList<int> seen;
        box.setKeyRule(RecordingRule { &seen });
        box.show();
        QTest::keyClicks(&box, QStringLiteral("1a2x"));
        QCOMPARE(box.text(), QStringLiteral("12y"));
        QCOMPARE(seen, QList<int>({ '1', 'a', '2', 'x' }));
        // A replaced key goes in at the caret, in place of the selection.
        box.setSelection(0, 2);
        QTest::keyClicks(&box, QStringLiteral("x"));
        QCOMPARE(box.text(), QStringLiteral("yy"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(box.text(), QStringLiteral("y"));
        // Keys without a character bypass the rule.
        seen.clear();
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClick(&box, Qt::Key_Delete);
        QCOMPARE(box.text(), QString());
        QVERIFY(seen.isEmpty());
    }

    void everyPastePathMeetsTheRule()
    {
        TextBox box;
        QList<int> seen;
        box.setKeyRule(RecordingRule { &seen });
        box.show();
        QApplication::clipboard()->setText(QStringLiteral("4a5x"));

        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box.text(), QString()); // Ctrl+V is code 22, which this rule swallows
        QTest::keyClick(&box, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(box.text(), QStringLiteral("45y"));

        box.clear();
        box.typeText(QStringLiteral("7-8"));
        QCOMPARE(box.text(), QStringLiteral("78"));

        box.clear();
        QMimeData mime;
        mime.setText(QStringLiteral("9b9"));
        // Qt delivers a drop only to a widget that has seen the drag enter.
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &enter);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &drop);
        QCOMPARE(box.text(), QStringLiteral("99"));

        box.clear();
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("3c"));
        QApplication::sendEvent(&box, &commit);
        QCOMPARE(box.text(), QStringLiteral("3"));
    }

    void aRuleThatPassesCtrlVPastesThroughIt()
    {
        TextBox box;
        box.setKeyRule([](std::uint16_t code) -> std::uint16_t {
            return (code == 22 || (code >= '0' && code <= '9')) ? code : 0;
        });
        box.show();
        QApplication::clipboard()->setText(QStringLiteral("1z2"));
        QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box.text(), QStringLiteral("12"));
    }

    void clicksAndDoubleClicksAreReported()
    {
        TextBox box;
        box.show();
        QSignalSpy clicks(&box, &TextBox::clicked);
        QSignalSpy doubleClicks(&box, &TextBox::doubleClicked);
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QTest::mouseDClick(&box, Qt::LeftButton);
        QCOMPARE(doubleClicks.count(), 1);
        QTest::mouseClick(&box, Qt::RightButton);
        QCOMPARE(clicks.count(), 1);
    }

    void twipsAreKeptExactly()
    {
        QWidget form;
        QWidget child(&form);
        setTwipsGeometry(&child, { 352.5, 2100, 2295, 360 });
        QCOMPARE(twipsGeometry(&child).left, 352.5);
        QCOMPARE(child.geometry(), QRect(24, 140, 153, 24));
        setTwipsLeft(&child, 2152.5);
        QCOMPARE(twipsGeometry(&child).left, 2152.5);
        QCOMPARE(twipsGeometry(&child).width, 2295.0);
        QCOMPARE(child.x(), 144);
    }

    void linesKeepTheirEnds()
    {
        QWidget form;
        Line line(&form);
        line.setPoints(360, 2040, 2640, 2040);
        QCOMPARE(line.geometry(), QRect(24, 136, 152, 2));
        line.setX2(6240);
        QCOMPARE(line.x2(), 6240.0);
        QCOMPARE(line.x1(), 360.0);
        QCOMPARE(line.width(), 392);
    }

    void theComboBoxNeverAddsItems()
    {
        ComboBox box;
        box.addItems({ "2", "3" });
        box.show();
        box.setKeyRule([](std::uint16_t code) -> std::uint16_t { return code; });
        QVERIFY(!box.completer());
        box.lineEdit()->selectAll();
        QTest::keyClicks(box.lineEdit(), QStringLiteral("7"));
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
        QCOMPARE(box.count(), 2);
    }
};

QTEST_MAIN(TestToolkit)
#include "test_toolkit.moc"
