// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QMainWindow>

#include "toolkit/announcement.h"
#include "toolkit/text_box.h"

namespace pendro {

namespace {

// A text box as QLineEdit presents itself, with the activation as its first action.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface
{
public:
    explicit TextBoxAccessible(TextBox* box)
        : QAccessibleWidget(box, QAccessible::EditableText)
    { }

    TextBox* box() const { return static_cast<TextBox*>(object()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return box()->text();
        return QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString& text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        box()->replaceTyping(0, characterCount(), text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.readOnly = box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (!box()->activationName().isEmpty())
            names.prepend(box()->activationName());
        return names;
    }

    void doAction(const QString& name) override
    {
        if (!name.isEmpty() && name == box()->activationName())
            box()->activate();
        else
            QAccessibleWidget::doAction(name);
    }

    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (!name.isEmpty() && name == box()->activationName())
            return { QStringLiteral("Return"), QStringLiteral("Space") };
        return QAccessibleWidget::keyBindingsForAction(name);
    }

    // The text, the caret and the selection.
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset)
            return {};
        return box()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(box()->text().size()); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index != 0 || !box()->hasSelectedText())
            return;
        *startOffset = box()->selectionStart();
        *endOffset = *startOffset + int(box()->selectedText().size());
    }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override
    {
        if (index == 0)
            box()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override
    {
        if (index == 0)
            box()->setSelection(startOffset, endOffset - startOffset);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }
    QRect characterRect(int offset) const override
    {
        const QRect rect = box()->characterRect(offset);
        return rect.isNull() ? rect : QRect(box()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }

    // A screen reader's edits are typed through the field's rule.
    void deleteText(int startOffset, int endOffset) override
    {
        box()->replaceTyping(startOffset, endOffset, {});
    }
    void insertText(int offset, const QString& text) override
    {
        box()->replaceTyping(offset, offset, text);
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override
    {
        box()->replaceTyping(startOffset, endOffset, text);
    }
};

QAccessibleInterface* pendroInterface(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    // Asked once per class of the object's hierarchy, most derived first.
    if (className == QLatin1String("pendro::TextBox"))
        return new TextBoxAccessible(static_cast<TextBox*>(widget));
    if (className == QLatin1String("pendro::Announcement"))
        return new QAccessibleWidget(widget, QAccessible::Notification);
    if (className != QLatin1String("QWidget"))
        return nullptr;
    if (!widget->isWindow() || widget->windowType() != Qt::Window
        || qobject_cast<QMainWindow*>(widget) || qobject_cast<QDialog*>(widget))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(pendroInterface);
}

} // namespace pendro
