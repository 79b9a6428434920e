// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QWidget>
#include <QtGlobal>

#include "app/pendro_app.h"

// Shared by the window tests: the application set up as main() does, controls found by their
// objectName only, and a quick way to see which windows are still on screen.
namespace pendro::testing {

// The offscreen platform warns about every window feature it lacks (raise, size hints); such
// lines would bury the messages that matter.
inline QtMessageHandler previousMessageHandler = nullptr;

inline void dropPlatformNotices(
    QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    previousMessageHandler(type, context, text);
}

inline void prepareApplication()
{
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    Q_ASSERT(application);
    configureApplication(*application);
    // Tests close every window many times over; that must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!previousMessageHandler)
        previousMessageHandler = qInstallMessageHandler(dropPlatformNotices);
}

// A missing control is a broken window, not a failed expectation: stop at once with its name
// instead of crashing on a null pointer later.
template <typename T> T* control(const QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no control named %s", qPrintable(window->objectName()), name);
    return found;
}

inline QStringList visibleWindowNames()
{
    QStringList names;
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->isWindow())
            names.append(widget->objectName());
    }
    names.sort();
    return names;
}

} // namespace pendro::testing
