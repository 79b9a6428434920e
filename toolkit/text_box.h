// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

#include <QLineEdit>

// A text box whose key rule sees every character before it reaches the field.
//
// A key press becomes one 16-bit code (a printable character is its Unicode value, Backspace 8,
// Return 13, Escape 27, Ctrl+letter its control code, worked out from the key and the
// modifiers). The rule returns the code to use: 0 swallows the key, the same code lets the field
// handle the key as usual, any other code is inserted at the caret in place of the selection.
// Keys without a character (Delete, arrows, Home, End, Tab) never reach the rule.
//
// Text that arrives any other way (paste from the context menu, Shift+Insert, middle click, drop,
// input-method commits) goes through the same rule one character at a time, as if typed.
namespace pendro {

class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    using KeyRule = std::function<std::uint16_t(std::uint16_t)>;

    explicit TextBox(QWidget* parent = nullptr);

    void setKeyRule(KeyRule rule) { m_rule = std::move(rule); }

    // Types each character of text at the caret through the key rule. Every paste path ends here.
    void typeText(const QString& text);

    // The key code the rule would see for this event, or -1 for a key without a character.
    static int keyCodeOf(const QKeyEvent* event);

signals:
    void clicked();
    void doubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Applies the rule to one code; returns true when the field should handle the key itself.
    bool applyRule(std::uint16_t code);
    void pasteFromClipboard();

    KeyRule m_rule;
};

} // namespace pendro
