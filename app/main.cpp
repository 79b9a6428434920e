// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "app/pendro_app.h"

namespace {

bool environmentSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

// Without a display Qt would stop with a platform-plugin error that tells a user little.
bool desktopAvailable()
{
    return environmentSet("QT_QPA_PLATFORM") || environmentSet("DISPLAY")
        || environmentSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    if (!desktopAvailable()) {
        std::fputs("Pendro braucht eine grafische Arbeitsumgebung (X11 oder Wayland), aber es ist\n"
                   "keine verfügbar (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).\n"
                   "Ohne Bildschirm lässt es sich unter Xvfb ausprobieren (Debian-Paket xvfb):\n"
                   "    xvfb-run ./build/release/app/pendro\n"
                   "\n"
                   "Pendro needs a graphical desktop (X11 or Wayland), but none is available\n"
                   "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                   "To try it without a screen, run it under Xvfb (Debian package xvfb):\n"
                   "    xvfb-run ./build/release/app/pendro\n",
            stderr);
        return EXIT_FAILURE;
    }

    QApplication application(argc, argv);
    pendro::configureApplication(application);
    pendro::PendroApplication pendro;
    return QApplication::exec();
}
