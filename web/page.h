// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program does in a browser page beyond what it does on a desktop. The page itself
// (web/index.html, web/start.js) loads it, shows what happens while it loads and what happened
// when it ended; this is the program's side of that.
class QApplication;

namespace pendro::web {

// Runs Pendro in the page, called by main() after the display check. A program in a page never
// returns from an event loop (Qt's exec() hands the page its events and unwinds main()'s stack,
// which with WebAssembly's exceptions would take the windows along), so main() returns at once
// and the program lives on in the page: the application and the windows live on the heap. Beyond
// what main() does on a desktop: each window is placed in the page as a window manager would,
// the windows zoom to the largest step at which the main window still fits the page (a finger
// needs larger targets than a mouse), the page's focus follows Qt's for a tablet's on-screen
// keyboard and for screen readers, and the page learns when Pendro has closed its windows.
int runInPage(int argc, char* argv[]);

// The application of a program in a page, made on the heap with copies of the arguments, so
// that both outlive main() (Pendro's and the start-up benchmark's floor, web/floor.cpp).
QApplication* newPageApplication(int argc, char* argv[]);

} // namespace pendro::web
