// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/desktop_check.h"

#include <cstdlib>

#include <QtGlobal>

namespace pendro {

DesktopKind hostDesktopKind()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return DesktopKind::Native;
#elif defined(Q_OS_WASM)
    return DesktopKind::Browser;
#else
    return DesktopKind::DisplayServer;
#endif
}

std::string processEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string missingDesktopMessage(DesktopKind kind, const EnvironmentLookup& environment)
{
    if (kind != DesktopKind::DisplayServer)
        return {};
    for (const char* name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY" }) {
        if (!environment(name).empty())
            return {};
    }
    return "Pendro braucht eine grafische Arbeitsumgebung (X11 oder Wayland), aber es ist\n"
           "keine verfügbar (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).\n"
           "Ohne Bildschirm lässt es sich unter Xvfb ausprobieren (Debian-Paket xvfb):\n"
           "    xvfb-run ./build/release/app/pendro\n"
           "\n"
           "Pendro needs a graphical desktop (X11 or Wayland), but none is available\n"
           "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
           "To try it without a screen, run it under Xvfb (Debian package xvfb):\n"
           "    xvfb-run ./build/release/app/pendro\n";
}

} // namespace pendro
