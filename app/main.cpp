// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "app/command_line.h"
#include "app/pendro_app.h"
#include "toolkit/desktop_check.h"
#ifdef Q_OS_WASM
#include "web/page.h"
#endif

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (pendro::wantsCommandLine(arguments))
        return pendro::runCommandLine(argc, argv);

    const std::string missingDesktop
        = pendro::missingDesktopMessage(pendro::hostDesktopKind(), pendro::processEnvironment);
    if (!missingDesktop.empty()) {
        std::fputs(missingDesktop.c_str(), stderr);
        return EXIT_FAILURE;
    }

#ifdef Q_OS_WASM
    // In a page, main() returns at once and the program lives on in it (web/page.h).
    return pendro::web::runInPage(argc, argv);
#endif
    QApplication application(argc, argv);
    pendro::configureApplication(application);
    pendro::PendroApplication pendro;
    return QApplication::exec();
}
