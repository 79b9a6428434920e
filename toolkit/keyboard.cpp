// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/keyboard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>

namespace pendro {

void closeOnKeys(QWidget* window, std::initializer_list<QKeySequence::StandardKey> keys)
{
    for (QKeySequence::StandardKey key : keys) {
        auto* shortcut = new QShortcut(key, window);
        QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
    }
}

QList<QKeySequence> quitKeys()
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (keys.isEmpty())
        keys.append(QKeySequence(Qt::CTRL | Qt::Key_Q));
    return keys;
}

void chooseMenuBarByKeyboard(QMenuBar* bar)
{
    // The menu bar learns of Alt from its window: the key's shortcut check, then its release.
    // Going the same way keeps F10 and Alt one behaviour. (A modifier key's event reports the
    // modifiers as they are after it: held while pressed, gone when released.)
    QWidget* window = bar->window();
    QKeyEvent press(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(window, &release);
}

} // namespace pendro
