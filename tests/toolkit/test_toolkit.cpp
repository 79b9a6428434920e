// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QListView>
#include <QMimeData>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>
#include <optional>

#include "toolkit/accessibility.h"
#include "toolkit/button.h"
#include "toolkit/combo_box.h"
#include "toolkit/controls.h"
#include "toolkit/line_control.h"
#include "toolkit/style.h"
#include "toolkit/text_box.h"
#include "toolkit/twips.h"
#include "toolkit/zoom.h"

using namespace pendro;

using WindowRooms = std::vector<WindowRoom>;
Q_DECLARE_METATYPE(WindowRooms)

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

// The random text of a paste: digits, the rules' signs, letters, an umlaut, control characters,
// NUL, Backspace and lone and paired surrogates.
QString randomPaste(QRandomGenerator& random, int length)
{
    static const QString alphabet = QStringLiteral("0123456789+-/=xyä ,\t\n\r\b\b\b") + QChar(0)
        + QChar(0xD800) + QChar(0xDC00) + QChar(0x1B);
    QString text;
    for (int i = 0; i < length; ++i) {
        if (random.bounded(40) == 0)
            text.append(QString::fromUcs4(U"\U0001F600"));
        else
            text.append(alphabet.at(random.bounded(int(alphabet.size()))));
    }
    return text;
}

// Puts two boxes into the same state: text, maximum length, caret or selection (either way).
void prepareBoxes(QRandomGenerator& random, TextBox& a, TextBox& b)
{
    const QString text = randomPaste(random, int(random.bounded(12)));
    const int maxLength = random.bounded(3) == 0 ? int(random.bounded(1, 16)) : 32767;
    const int start = int(random.bounded(int(std::min<qsizetype>(text.size(), maxLength)) + 1));
    const int choice = int(random.bounded(3));
    const int end = int(std::min<qsizetype>(text.size(), maxLength));
    const int length = int(random.bounded(end - start + 1));
    for (TextBox* box : { &a, &b }) {
        box->setMaxLength(maxLength);
        box->setText(text);
        if (choice == 0)
            box->setCursorPosition(start);
        else if (choice == 1)
            box->setSelection(start, length);
        else
            box->setSelection(start, -start);
    }
}

// Replaces "x" by "y" and Backspace by "x"; empties the field on "="; swallows ","; lets "+"
// pass only into an empty field; everything else passes as it is.
std::uint16_t mixedRule(std::uint16_t code, RuleField& field)
{
    switch (code) {
    case 'x':
        return 'y';
    case 8:
        return 'x';
    case '=':
        field.clear();
        return 0;
    case ',':
        return 0;
    case '+':
        return field.isEmpty() ? code : 0;
    default:
        return code;
    }
}

// A text as its code units, so that control characters and surrogates show in a failure.
QString codes(const QString& text)
{
    QStringList units;
    for (const QChar ch : text)
        units.append(QString::number(ch.unicode(), 16));
    return QLatin1Char('[') + units.join(QLatin1Char(' ')) + QLatin1Char(']');
}

// A dark desktop as Qt's GTK theme reports Adwaita:dark, and one whose highlight is as dark as
// its window.
QPalette darkPalette(const QColor& highlight)
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xec));
    palette.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    palette.setColor(QPalette::Text, QColor(0xee, 0xee, 0xec));
    palette.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xec));
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

} // namespace

Q_DECLARE_METATYPE(QPalette)

class TestToolkit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(makeApplicationStyle());
        installAccessibility();
    }

    // Return, keypad Enter and Space run a field's activation before the key meets the rule,
    // which sees the key as always; other keys, and fields without an activation, run nothing.
    void activationKeysRunTheActionBeforeTheRule_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("withActivation");
        QTest::addColumn<bool>("activates");
        QTest::addColumn<int>("seenCode");
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << true << true << 13;
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true << true << 13;
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << true << true << 32;
        QTest::newRow("Shift+Space")
            << int(Qt::Key_Space) << int(Qt::ShiftModifier) << true << false << 32;
        QTest::newRow("Ctrl+Return")
            << int(Qt::Key_Return) << int(Qt::ControlModifier) << true << false << 13;
        QTest::newRow("a letter") << int(Qt::Key_A) << 0 << true << false << int('a');
        QTest::newRow("Return without activation")
            << int(Qt::Key_Return) << 0 << false << false << 13;
    }
    void activationKeysRunTheActionBeforeTheRule()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, withActivation);
        QFETCH(bool, activates);
        QFETCH(int, seenCode);
        TextBox box;
        QList<int> seen;
        int seenWhenActivated = -1;
        box.setKeyRule(RecordingRule { &seen });
        if (withActivation)
            box.setActivation(QStringLiteral("Zeile 3 öffnen"), QStringLiteral("Eingabetaste"));
        connect(&box, &TextBox::activated, this, [&] { seenWhenActivated = int(seen.size()); });
        QTest::keyClick(&box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(seenWhenActivated, activates ? 0 : -1);
        QCOMPARE(seen, QList<int> { seenCode });
        QCOMPARE(box.text(), QString());
    }

    // A screen reader finds the activation as the field's first action and runs it; what it
    // writes into a field goes through the field's rule.
    void screenReadersRunTheActionAndTypeThroughTheRule()
    {
        TextBox box;
        QList<int> seen;
        box.setKeyRule(RecordingRule { &seen });
        box.setActivation(QStringLiteral("Rechenzeichen wechseln"), QStringLiteral("Leertaste"));
        QSignalSpy activations(&box, &TextBox::activated);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
        QCOMPARE(accessible->role(), QAccessible::EditableText);
        QAccessibleActionInterface* actions = accessible->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames().value(0), QStringLiteral("Rechenzeichen wechseln"));
        actions->doAction(QStringLiteral("Rechenzeichen wechseln"));
        QCOMPARE(activations.count(), 1);
        QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("Leertaste"));

        accessible->editableTextInterface()->insertText(0, QStringLiteral("1a2x"));
        QCOMPARE(box.text(), QStringLiteral("12y"));
        accessible->editableTextInterface()->replaceText(1, 2, QStringLiteral("b7"));
        QCOMPARE(box.text(), QStringLiteral("17y"));
        accessible->setText(QAccessible::Value, QStringLiteral("9,5"));
        QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("95"));
        accessible->editableTextInterface()->deleteText(0, 1);
        QCOMPARE(box.text(), QStringLiteral("5"));
    }

    // What the style draws against what is around it, in a light and in dark palettes: field
    // and list edges and check box frames at least 3:1 against the window, the 2-pixel focus
    // indicator 3:1 against the window and the field (on a button: against the button's colour).
    void theStyleStandsOutInEveryPalette_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("focused");
        const QList<std::pair<const char*, QPalette>> palettes {
            { "light", QApplication::style()->standardPalette() },
            { "Adwaita dark", darkPalette(QColor(0x15, 0x53, 0x9e)) },
            { "dark, highlight as dark as the window", darkPalette(QColor(0x40, 0x40, 0x48)) },
        };
        for (const auto& [name, palette] : palettes) {
            for (const char* control : { "field", "combo box", "list", "check box", "button" }) {
                for (const bool focused : { false, true }) {
                    if (QLatin1String(control) == QLatin1String("button") && !focused)
                        continue;
                    QTest::addRow("%s, %s%s", name, control, focused ? ", focused" : "")
                        << palette << QString::fromLatin1(control) << focused;
                }
            }
        }
    }
    void theStyleStandsOutInEveryPalette()
    {
        QFETCH(QPalette, palette);
        QFETCH(QString, control);
        QFETCH(bool, focused);
        QWidget window;
        window.setPalette(palette);
        window.resize(200, 100);
        QWidget* widget = nullptr;
        if (control == QLatin1String("field")) {
            widget = new TextBox(&window);
        } else if (control == QLatin1String("combo box")) {
            auto* box = new ComboBox(&window);
            box->addItems({ "2", "3" });
            widget = box;
        } else if (control == QLatin1String("list")) {
            widget = new QListView(&window);
        } else if (control == QLatin1String("check box")) {
            widget = new QCheckBox(&window);
        } else {
            auto* button = new Button(&window);
            button->setText(QStringLiteral("C"));
            setButtonColour(button, QColor(255, 192, 192));
            widget = button;
        }
        widget->setGeometry(20, 20, 80, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (focused)
            widget->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        const QImage image = widget->grab().toImage();
        const QColor windowColour = palette.color(QPalette::Window);
        const auto standsOut = [&](QPoint at, const QColor& against) {
            const QColor drawn = image.pixelColor(at);
            const double ratio = contrastRatio(drawn, against);
            return ratio >= MinimumContrast ? QString()
                                            : QStringLiteral("%1 at (%2, %3) is %4:1 against %5")
                                                  .arg(drawn.name())
                                                  .arg(at.x())
                                                  .arg(at.y())
                                                  .arg(ratio, 0, 'f', 2)
                                                  .arg(against.name());
        };
        const int middle = widget->height() / 2;
        QString finding;
        if (control == QLatin1String("check box")) {
            QStyleOptionButton option;
            option.initFrom(widget);
            const QRect indicator = widget->style()->subElementRect(
                focused ? QStyle::SE_CheckBoxFocusRect : QStyle::SE_CheckBoxIndicator, &option,
                widget);
            finding = standsOut({ indicator.left(), indicator.center().y() }, windowColour);
        } else if (control == QLatin1String("button")) {
            // Inside the button's outline, on its colour.
            const QColor face = widget->palette().color(QPalette::Button);
            finding = standsOut({ 1, middle }, face) + standsOut({ 2, middle }, face);
        } else if (focused) {
            const QColor inside = palette.color(QPalette::Base);
            for (const int x : { 0, FocusWidth - 1 })
                finding
                    += standsOut({ x, middle }, windowColour) + standsOut({ x, middle }, inside);
        } else {
            finding = standsOut({ 0, middle }, windowColour);
        }
        QVERIFY2(finding.isEmpty(), qPrintable(finding));
    }

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

    // The paste applies its keys to a copy of the text; QLineEdit itself, key by key, is the
    // reference for every edit: selections either way round, Backspace over surrogate pairs,
    // the maximum length, a rule that replaces keys or empties the field.
    void aPasteEditsAsKeyByKey_data()
    {
        QTest::addColumn<bool>("mixed");
        QTest::newRow("every key passes") << false;
        QTest::newRow("keys replaced, swallowed, field emptied") << true;
    }
    void aPasteEditsAsKeyByKey()
    {
        QFETCH(bool, mixed);
        QRandomGenerator random(mixed ? 1201 : 1202);
        TextBox reference;
        TextBox paste;
        for (TextBox* box : { &reference, &paste }) {
            if (mixed)
                box->setKeyRule(TextBox::KeyRule(mixedRule));
        }
        for (int round = 0; round < 3000; ++round) {
            prepareBoxes(random, reference, paste);
            const QString before = paste.text();
            const QString text = randomPaste(random, int(random.bounded(24)));
            reference.typeTextKeyByKey(text);
            paste.typeText(text);
            const QString where = QStringLiteral("round %1: %2 into %3 gives %4, key by key %5")
                                      .arg(round)
                                      .arg(codes(text), codes(before), codes(paste.text()),
                                          codes(reference.text()));
            QVERIFY2(paste.text() == reference.text(), qPrintable(where));
            QVERIFY2(paste.cursorPosition() == reference.cursorPosition(), qPrintable(where));
            QVERIFY2(paste.selectedText() == reference.selectedText(), qPrintable(where));
            // The whole paste is one step to undo.
            if (paste.text() != before) {
                paste.undo();
                QVERIFY2(paste.text() == before, qPrintable(where));
            }
        }
    }

    // The combo box's change handler sees every key of a paste, as it does when keys are typed.
    void aComboBoxChangeRuleSeesEveryKeyOfAPaste()
    {
        QRandomGenerator random(1203);
        ComboBox reference;
        ComboBox paste;
        QStringList seenByReference;
        QStringList seenByPaste;
        auto rule = [](QStringList* seen) {
            return [seen](const QString& text) -> std::optional<QString> {
                seen->append(text);
                if (text.isEmpty())
                    return QStringLiteral("2");
                if (text.size() > 1)
                    return text.right(1);
                return std::nullopt;
            };
        };
        reference.setChangeRule(rule(&seenByReference));
        paste.setChangeRule(rule(&seenByPaste));
        for (int round = 0; round < 500; ++round) {
            const QString start = QString::number(random.bounded(2, 6));
            reference.setEditText(start);
            paste.setEditText(start);
            seenByReference.clear();
            seenByPaste.clear();
            const QString text = randomPaste(random, int(random.bounded(16)));
            reference.textBox()->typeTextKeyByKey(text);
            paste.textBox()->typeText(text);
            QCOMPARE(paste.currentText(), reference.currentText());
            QCOMPARE(paste.textBox()->cursorPosition(), reference.textBox()->cursorPosition());
            // The paste's single write of its final text is one more report, which changes nothing.
            if (paste.currentText() != start)
                seenByPaste.removeLast();
            QCOMPARE(seenByPaste, seenByReference);
        }
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

    // The zoom's steps and the rule that every open window must still fit its screen; the
    // windows are given by their size at 100 %, their frame and their screen's free room.
    void zoomStepsKeepEveryWindowOnItsScreen_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("change"); // in, out, reset, or a window opened ("opened")
        QTest::addColumn<WindowRooms>("windows");
        QTest::addColumn<int>("to");

        const QSize noFrame(0, 0);
        const QSize screen(1280, 1024);
        const WindowRoom main { { 468, 270 }, { 2, 24 }, screen };
        const WindowRoom help { { 501, 595 }, { 2, 24 }, screen };
        QTest::newRow("in") << 100 << "in" << WindowRooms { main } << 125;
        QTest::newRow("in, 25 apart up to 200") << 175 << "in" << WindowRooms { main } << 200;
        QTest::newRow("in, 50 apart beyond") << 200 << "in" << WindowRooms { main } << 250;
        QTest::newRow("in at the top step") << 300 << "in" << WindowRooms {} << 300;
        QTest::newRow("in: one window too tall")
            << 150 << "in" << WindowRooms { main, help } << 150;
        QTest::newRow("in: the frame counts")
            << 100 << "in" << WindowRooms { { { 400, 300 }, { 0, 30 }, { 500, 404 } } } << 100;
        QTest::newRow("in: exactly the screen")
            << 100 << "in" << WindowRooms { { { 400, 300 }, noFrame, { 500, 375 } } } << 125;
        QTest::newRow("in: a pixel wider than the screen")
            << 100 << "in" << WindowRooms { { { 400, 300 }, noFrame, { 499, 375 } } } << 100;
        QTest::newRow("in: the zoomed size rounds up")
            << 100 << "in" << WindowRooms { { { 101, 100 }, noFrame, { 126, 125 } } } << 100;
        QTest::newRow("in: each window on its own screen")
            << 100 << "in"
            << WindowRooms { { { 800, 600 }, noFrame, { 1920, 1080 } },
                   { { 400, 300 }, noFrame, { 640, 480 } } }
            << 125;
        QTest::newRow("out") << 250 << "out" << WindowRooms { main } << 200;
        QTest::newRow("out at 100 %") << 100 << "out" << WindowRooms { main } << 100;
        QTest::newRow("out where nothing fits")
            << 300 << "out" << WindowRooms { { { 5000, 5000 }, noFrame, screen } } << 250;
        QTest::newRow("reset") << 250 << "reset" << WindowRooms { main } << 100;
        QTest::newRow("opened: fits") << 150 << "opened" << WindowRooms { main, help } << 150;
        QTest::newRow("opened: steps down until it fits")
            << 200 << "opened" << WindowRooms { main, help } << 150;
        QTest::newRow("opened: 100 % even where it does not fit")
            << 150 << "opened" << WindowRooms { { { 2000, 500 }, noFrame, screen } } << 100;
    }

    void zoomStepsKeepEveryWindowOnItsScreen()
    {
        QFETCH(int, from);
        QFETCH(QString, change);
        QFETCH(WindowRooms, windows);
        QFETCH(int, to);

        ZoomControl zoom;
        while (zoom.percent() < from)
            QVERIFY(zoom.change(ZoomChange::In, {}));
        QCOMPARE(zoom.percent(), from);
        bool changed = false;
        if (change == QLatin1String("opened"))
            changed = zoom.stepDownToFit(windows);
        else
            changed = zoom.change(change == QLatin1String("in") ? ZoomChange::In
                    : change == QLatin1String("out")            ? ZoomChange::Out
                                                                : ZoomChange::Reset,
                windows);
        QCOMPARE(zoom.percent(), to);
        QCOMPARE(changed, from != to);
        QCOMPARE(zoom.factor(), to / 100.0);
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
