// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include <QLineEdit>
#include <QString>

// A text box whose key rule sees every character before it reaches the field.
//
// A key press becomes one 16-bit code (a printable character is its Unicode value, Backspace 8,
// Return 13, Escape 27, Ctrl+letter its control code, worked out from the key and the
// modifiers). The rule returns the code to use: 0 swallows the key, the same code lets the field
// handle the key as usual, any other code is inserted at the caret in place of the selection.
// Keys without a character (Delete, arrows, Home, End, Tab) never reach the rule.
//
// A field that reacts to a pointer (a click or double-click handler) can be given an activation:
// Return, keypad Enter or Space on the focused field, and the screen readers' action of that
// name, emit activated() before the key meets the rule, which then treats the key as always.
//
// Text that arrives any other way (paste from the context menu, Shift+Insert, middle click, drop,
// input-method commits) goes through the same rule one character at a time, as if typed; a commit
// of a lone Space (how a browser delivers the key) also runs the activation. So that
// a long paste costs time in proportion to its length, the characters are applied to a copy of
// the text and the field is written once at the end, as one undoable step. A rule must therefore
// reach its own field only through the RuleField it is given; it may show or hide other controls.
// A change rule (a combo box's change handler, which may rewrite the text) runs against the copy
// after every key that changes it. Where anything else listens to the field's text changes,
// every key is written on its own instead, so that each change is seen.
namespace pendro {

// The field as a key rule sees it: its text before the key, and the one edit a rule may make on
// its own, emptying the field. For a typed key this is the field itself; while a paste is under
// way it is the paste's copy of the text, kept in pieces so that no key has to copy it whole.
class RuleField
{
public:
    virtual bool isEmpty() const = 0;
    virtual QString text() const = 0;
    virtual void clear() = 0;

protected:
    ~RuleField() = default;
};

class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    // The typed code and the field before the key; returns the code to use.
    using KeyRule = std::function<std::uint16_t(std::uint16_t code, RuleField& field)>;
    using CodeRule = std::function<std::uint16_t(std::uint16_t code)>;
    // After a change of the text: the text the field must hold instead (caret at its end), or
    // nullopt to keep it.
    using ChangeRule = std::function<std::optional<QString>(const QString& text)>;

    explicit TextBox(QWidget* parent = nullptr);

    void setKeyRule(KeyRule rule) { m_rule = std::move(rule); }
    // A rule that looks at the code alone.
    void setKeyRule(CodeRule rule);
    // Whoever sets a change rule applies it to the field's own changes and promises that nothing
    // else listens to them, so that a paste may run the rule against its copy.
    void setChangeRule(ChangeRule rule) { m_changeRule = std::move(rule); }

    // Types each character of text at the caret through the key rule. Every paste path ends here.
    void typeText(const QString& text);
    // The same, writing each key into the field on its own as it is judged: what typeText does
    // for fields that are watched, and the reference the tests and benchmarks compare it with.
    void typeTextKeyByKey(const QString& text);

    // The key code the rule would see for this event, or -1 for a key without a character.
    static int keyCodeOf(const QKeyEvent* event);
    // Where the character at offset stands in the field; a null rectangle where there is none.
    QRect characterRect(int offset) const;

    // The keyboard's and the screen readers' way to what a pointer does to the field: the action
    // is announced as actionName ("Zeile 3 öffnen"), the field's accessible description says
    // which keys run it.
    void setActivation(const QString& actionName, const QString& description);
    QString activationName() const { return m_activationName; }
    // Runs the activation (emits activated()), as Return, keypad Enter or Space do.
    void activate();
    // Removes the characters from start to end as the Delete key does and types text in their
    // place through the rule: how a screen reader's edits reach the field.
    void replaceTyping(int start, int end, const QString& text);

signals:
    void clicked();
    void doubleClicked();
    void activated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    std::uint16_t judge(std::uint16_t code, RuleField& field) const;
    // Applies the rule to one code; returns true when the field should handle the key itself.
    bool applyRule(std::uint16_t code);
    // True when every key of a paste must reach the field before the next one is judged.
    bool writesKeyByKey() const;
    // Writes newText with one replacement of the part that differs, then places the caret.
    void replaceText(const QString& newText, qsizetype caret);
    void pasteFromClipboard();

    KeyRule m_rule;
    ChangeRule m_changeRule;
    QString m_activationName;
};

} // namespace pendro
