// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMimeData>

#include <algorithm>
#include <utility>

#include "core/key_filters.h"

namespace pendro {

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent)
{
    // No field takes words: an on-screen keyboard neither completes nor capitalises.
    setInputMethodHints(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
}

int TextBox::keyCodeOf(const QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (key == Qt::Key_Backspace)
        return KeyBackspace;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return KeyReturn;
    if (key == Qt::Key_Escape)
        return KeyEscape;
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A
        && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    if (modifiers & Qt::ControlModifier)
        return -1;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return -1;
    return text.at(0).unicode();
}

QRect TextBox::characterRect(int offset) const
{
    const QString content = text();
    if (offset < 0 || offset >= content.size())
        return {};
    // The caret's place is known; the character stands as far from it as the text between.
    const QFontMetrics metrics(font());
    const QRect caret = cursorRect();
    const int x = caret.center().x() + metrics.horizontalAdvance(content.left(offset))
        - metrics.horizontalAdvance(content.left(cursorPosition()));
    return { x, caret.top(), metrics.horizontalAdvance(content.mid(offset, 1)), caret.height() };
}

void TextBox::setKeyRule(CodeRule rule)
{
    if (!rule) {
        setKeyRule(KeyRule());
        return;
    }
    setKeyRule([rule = std::move(rule)](std::uint16_t code, RuleField&) { return rule(code); });
}

namespace {

// A typed key's rule works on the field itself.
class LiveField final : public RuleField
{
public:
    explicit LiveField(QLineEdit* field)
        : m_field(field)
    { }
    bool isEmpty() const override { return m_field->text().isEmpty(); }
    QString text() const override { return m_field->text(); }
    void clear() override { m_field->clear(); }

private:
    QLineEdit* m_field;
};

} // namespace

std::uint16_t TextBox::judge(std::uint16_t code, RuleField& field) const
{
    return m_rule ? m_rule(code, field) : code;
}

bool TextBox::applyRule(std::uint16_t code)
{
    LiveField field(this);
    const std::uint16_t result = judge(code, field);
    if (result == 0)
        return false;
    if (result == code)
        return true;
    if (result == KeyBackspace)
        backspace();
    else
        insert(QString(QChar(result)));
    return false;
}

void TextBox::typeTextKeyByKey(const QString& text)
{
    for (const QChar ch : text) {
        const std::uint16_t code = ch.unicode();
        if (code == 0)
            continue;
        if (applyRule(code)) {
            if (code == KeyBackspace)
                backspace();
            else if (ch.isPrint())
                insert(QString(ch));
        }
    }
}

bool TextBox::writesKeyByKey() const
{
    if (validator() || !inputMask().isEmpty() || echoMode() != Normal)
        return true;
    if (m_changeRule)
        return false;
    return isSignalConnected(QMetaMethod::fromSignal(&QLineEdit::textChanged))
        || isSignalConnected(QMetaMethod::fromSignal(&QLineEdit::textEdited));
}

namespace {

// The field's text while a paste is applied to it, edited as QLineEdit edits it: a key replaces
// the selection, Backspace removes the selection or the character before the caret (a surrogate
// pair as one), nothing goes beyond the maximum length, emptying leaves the caret at 0. Every
// edit happens at the caret, so the text is kept as the part before the caret, which grows and
// shrinks at its end, and the part after it, which only ever goes away as a whole.
class PendingText final : public RuleField
{
public:
    PendingText(const QString& text, qsizetype cursor, qsizetype selectionStart,
        qsizetype selectionLength, qsizetype maxLength)
        : m_maxLength(maxLength)
    {
        const qsizetype start = selectionLength > 0 ? selectionStart : cursor;
        const qsizetype end = selectionLength > 0 ? selectionStart + selectionLength : cursor;
        m_beforeCaret = text.left(start);
        m_selection = QStringView(text).mid(start, end - start);
        m_afterCaret = QStringView(text).mid(end);
    }

    bool isEmpty() const override
    {
        return m_beforeCaret.isEmpty() && m_selection.isEmpty() && m_afterCaret.isEmpty();
    }
    QString text() const override
    {
        QString text = m_beforeCaret;
        text.append(m_selection);
        text.append(m_afterCaret);
        return text;
    }
    void clear() override
    {
        m_edited = true;
        m_changed = m_changed || !isEmpty();
        m_beforeCaret.clear();
        m_selection = {};
        m_afterCaret = {};
    }

    bool edited() const { return m_edited; }
    // Whether the last key changed the text (as QLineEdit reports a change, a selection replaced
    // by the same text included), then forgets it.
    bool takeChange() { return std::exchange(m_changed, false); }
    qsizetype caret() const { return m_beforeCaret.size(); }
    QString result() const
    {
        QString text = m_beforeCaret;
        text.append(m_afterCaret);
        return text;
    }

    // What a change rule's replacement does: the whole text, the caret at its end.
    void replaceAll(const QString& text)
    {
        m_edited = true;
        m_beforeCaret = text;
        m_selection = {};
        m_afterCaret = {};
    }

    void insert(QChar ch)
    {
        m_edited = true;
        m_changed = m_changed || !m_selection.isEmpty();
        m_selection = {};
        if (m_beforeCaret.size() + m_afterCaret.size() < m_maxLength) {
            m_beforeCaret.append(ch);
            m_changed = true;
        }
    }

    void backspace()
    {
        m_edited = true;
        if (!m_selection.isEmpty()) {
            m_selection = {};
            m_changed = true;
            return;
        }
        const qsizetype size = m_beforeCaret.size();
        if (size == 0)
            return;
        const bool pair = size >= 2 && m_beforeCaret.at(size - 1).isLowSurrogate()
            && m_beforeCaret.at(size - 2).isHighSurrogate();
        m_beforeCaret.chop(pair ? 2 : 1);
        m_changed = true;
    }

private:
    qsizetype m_maxLength;
    QString m_beforeCaret;
    QStringView m_selection; // views into the field's text, which outlives the paste
    QStringView m_afterCaret;
    bool m_edited = false;
    bool m_changed = false;
};

} // namespace

void TextBox::typeText(const QString& text)
{
    if (writesKeyByKey()) {
        typeTextKeyByKey(text);
        return;
    }
    const QString original = this->text();
    PendingText pending(
        original, cursorPosition(), selectionStart(), selectionLength(), maxLength());
    for (const QChar ch : text) {
        const std::uint16_t code = ch.unicode();
        if (code == 0)
            continue;
        const std::uint16_t result = judge(code, pending);
        if (result == 0)
            continue;
        if (result == code) {
            if (code == KeyBackspace)
                pending.backspace();
            else if (ch.isPrint())
                pending.insert(ch);
        } else if (result == KeyBackspace) {
            pending.backspace();
        } else {
            pending.insert(QChar(result));
        }
        if (m_changeRule && pending.takeChange()) {
            // A replacement is a change of its own, which the rule sees again.
            for (std::optional<QString> replacement = m_changeRule(pending.text());
                 replacement && *replacement != pending.text();
                 replacement = m_changeRule(pending.text()))
                pending.replaceAll(*replacement);
        }
    }
    if (pending.edited())
        replaceText(pending.result(), pending.caret());
}

void TextBox::replaceText(const QString& newText, qsizetype caret)
{
    const QString oldText = text();
    if (newText != oldText) {
        const qsizetype common = std::min(oldText.size(), newText.size());
        qsizetype prefix = 0;
        while (prefix < common && oldText.at(prefix) == newText.at(prefix))
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < common - prefix
            && oldText.at(oldText.size() - 1 - suffix) == newText.at(newText.size() - 1 - suffix))
            ++suffix;
        const qsizetype removed = oldText.size() - prefix - suffix;
        const qsizetype inserted = newText.size() - prefix - suffix;
        setSelection(int(prefix), int(removed));
        if (inserted > 0)
            insert(newText.mid(prefix, inserted));
        else
            del();
    }
    setCursorPosition(int(caret));
}

void TextBox::setActivation(const QString& actionName, const QString& description)
{
    m_activationName = actionName;
    setAccessibleDescription(description);
}

void TextBox::activate()
{
    if (!m_activationName.isEmpty())
        emit activated();
}

void TextBox::replaceTyping(int start, int end, const QString& text)
{
    const int size = int(this->text().size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    // The removal is what the Delete key does, which no rule sees; the new text is typed.
    if (end > start) {
        setSelection(start, end - start);
        del();
    } else {
        setCursorPosition(start);
    }
    typeText(text);
}

namespace {
bool isActivationKey(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    const int key = event->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    // The activation is decided here, before the rule sees the key; the key then meets the rule
    // as it always does.
    if (!m_activationName.isEmpty() && isActivationKey(event) && !event->isAutoRepeat())
        emit activated();
    // Shift+Insert pastes without producing a character; Ctrl+V is code 22 and meets the rule.
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ShiftModifier) {
        if (!isReadOnly())
            pasteFromClipboard();
        event->accept();
        return;
    }
    const int code = keyCodeOf(event);
    if (code < 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!applyRule(static_cast<std::uint16_t>(code)))
        return;
    if (code == KeyPaste) {
        pasteFromClipboard();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        const QClipboard* clipboard = QApplication::clipboard();
        if (clipboard->supportsSelection() && !isReadOnly()) {
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            typeText(clipboard->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void TextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void TextBox::pasteFromClipboard()
{
    typeText(QApplication::clipboard()->text(QClipboard::Clipboard));
}

void TextBox::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("contextMenu"));
    const bool writable = !isReadOnly();
    QAction* undoAction = menu.addAction(QStringLiteral("&Rückgängig"), this, &QLineEdit::undo);
    undoAction->setEnabled(writable && isUndoAvailable());
    QAction* redoAction
        = menu.addAction(QStringLiteral("&Wiederherstellen"), this, &QLineEdit::redo);
    redoAction->setEnabled(writable && isRedoAvailable());
    menu.addSeparator();
    QAction* cutAction = menu.addAction(QStringLiteral("Aus&schneiden"), this, &QLineEdit::cut);
    cutAction->setEnabled(writable && hasSelectedText() && echoMode() == Normal);
    QAction* copyAction = menu.addAction(QStringLiteral("&Kopieren"), this, &QLineEdit::copy);
    copyAction->setEnabled(hasSelectedText() && echoMode() == Normal);
    QAction* pasteAction
        = menu.addAction(QStringLiteral("&Einfügen"), this, &TextBox::pasteFromClipboard);
    pasteAction->setEnabled(writable && !QApplication::clipboard()->text().isEmpty());
    QAction* deleteAction = menu.addAction(QStringLiteral("&Löschen"), this, &QLineEdit::del);
    deleteAction->setEnabled(writable && hasSelectedText());
    menu.addSeparator();
    QAction* selectAllAction
        = menu.addAction(QStringLiteral("&Alles auswählen"), this, &QLineEdit::selectAll);
    selectAllAction->setEnabled(!text().isEmpty());
    menu.exec(event->globalPos());
}

void TextBox::dropEvent(QDropEvent* event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    typeText(event->mimeData()->text());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TextBox::inputMethodEvent(QInputMethodEvent* event)
{
    // Only the committed characters count; they take the same rule as typed ones. A browser hands
    // every typed character over as such a commit, so a lone Space is the Space key: it runs the
    // activation first, as the key does.
    const QString commit = event->commitString();
    if (commit == QStringLiteral(" ") && event->preeditString().isEmpty())
        activate();
    QInputMethodEvent stripped;
    QLineEdit::inputMethodEvent(&stripped);
    typeText(commit);
    event->accept();
}

} // namespace pendro
