// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace pendro {

namespace {
constexpr std::uint16_t CodeBackspace = 8;
constexpr std::uint16_t CodeReturn = 13;
constexpr std::uint16_t CodeEscape = 27;
constexpr std::uint16_t CodePaste = 22; // Ctrl+V
}

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent)
{ }

int TextBox::keyCodeOf(const QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (key == Qt::Key_Backspace)
        return CodeBackspace;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return CodeReturn;
    if (key == Qt::Key_Escape)
        return CodeEscape;
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

bool TextBox::applyRule(std::uint16_t code)
{
    const std::uint16_t result = m_rule ? m_rule(code) : code;
    if (result == 0)
        return false;
    if (result == code)
        return true;
    if (result == CodeBackspace)
        backspace();
    else
        insert(QString(QChar(result)));
    return false;
}

void TextBox::typeText(const QString& text)
{
    for (const QChar ch : text) {
        const std::uint16_t code = ch.unicode();
        if (code == 0)
            continue;
        if (applyRule(code)) {
            if (code == CodeBackspace)
                backspace();
            else if (ch.isPrint())
                insert(QString(ch));
        }
    }
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
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
    if (code == CodePaste) {
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
    // Only the committed characters count; they take the same rule as typed ones.
    const QString commit = event->commitString();
    QInputMethodEvent stripped;
    QLineEdit::inputMethodEvent(&stripped);
    typeText(commit);
    event->accept();
}

} // namespace pendro
