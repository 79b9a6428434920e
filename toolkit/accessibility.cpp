// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QMainWindow>

namespace pendro {

namespace {
QAccessibleInterface* windowInterface(const QString& className, QObject* object)
{
    // Asked once per class of the object's hierarchy; answering for QWidget covers them all.
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->isWindow() || widget->windowType() != Qt::Window
        || qobject_cast<QMainWindow*>(widget) || qobject_cast<QDialog*>(widget))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}
}

void installWindowAccessibility()
{
    QAccessible::installFactory(windowInterface);
}

} // namespace pendro
