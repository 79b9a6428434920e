// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// Before QApplication exists: can this process show a window at all? On Linux a window needs
// an X11 or Wayland server (or a platform chosen through QT_QPA_PLATFORM); without one, Qt
// would stop with a platform-plugin error that tells a pupil little. Windows always has its
// desktop, and in a browser the page is the screen, so the check belongs to the platforms that
// need a display server only.
namespace pendro {

enum class DesktopKind {
    DisplayServer, // X11 or Wayland: DISPLAY or WAYLAND_DISPLAY must name one
    Native, // Windows: the desktop is always there
    Browser, // WebAssembly: the page is the screen; a browser has no environment to ask
};

// The kind of desktop this build runs on.
DesktopKind hostDesktopKind();

// Reads one environment variable; empty when it is unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;

std::string processEnvironment(const char* name);

// The German and English explanation to print when no desktop is available, or an empty text
// when the program can start.
std::string missingDesktopMessage(DesktopKind kind, const EnvironmentLookup& environment);

} // namespace pendro
