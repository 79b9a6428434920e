// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>

#include <QKeySequence>
#include <QList>

class QMenuBar;
class QWidget;

// Keys that work in every window as desktop programs have them, in each desktop's own keys
// (Qt's standard key sequences: Ctrl+W closes a window on Linux and Windows, Ctrl+F4 too on
// Windows).
namespace pendro {

// The window closes on any of these keys, wherever its focus is.
void closeOnKeys(QWidget* window, std::initializer_list<QKeySequence::StandardKey> keys);

// The keys that end the program: the desktop's own, or Ctrl+Q where it has none (Windows).
QList<QKeySequence> quitKeys();

// What Alt alone does to a menu bar: its first entry is chosen and highlighted, and the arrow
// keys, Return and the underlined letters work in it. For F10.
void chooseMenuBarByKeyboard(QMenuBar* bar);

} // namespace pendro
