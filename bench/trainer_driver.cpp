// SPDX-License-Identifier: GPL-3.0-or-later
// Pendro as app/main.cpp starts it, steered through stdin by bench_display and bench_zoom:
//   "open menTAS"      triggers the menu action and answers "opened <CLOCK_MONOTONIC ns before it>"
//   "close frmTAS"     closes that window and answers "closed"
//   "trigger menVergroessern"  triggers the menu action and answers "triggered <ns before it>
//                      <ns after it> <zoom in percent>"
//   "place frmTAS x y" moves that window and answers "placed"
//   "repaint"          asks every control of every window for a repaint and answers
//                      "repainted <ns before it>"
// so that the benchmarks can time a menu action to the first frame the X server receives.

#include <cstdio>
#include <ctime>
#include <string>

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include "app/pendro_app.h"
#include "mainwin/frm_pendro.h"

namespace {

long long monotonicNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void answer(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void runCommand(pendro::PendroApplication& pendro, const QString& command)
{
    const QString verb = command.section(QLatin1Char(' '), 0, 0);
    const QString name = command.section(QLatin1Char(' '), 1, 1);
    if (verb == QLatin1String("open") || verb == QLatin1String("trigger")) {
        auto* action = pendro.mainWindow()->findChild<QAction*>(name);
        if (!action) {
            answer("error no action " + name.toStdString());
            return;
        }
        const long long before = monotonicNanoseconds();
        action->trigger();
        if (verb == QLatin1String("open")) {
            answer("opened " + std::to_string(before));
            return;
        }
        const long long after = monotonicNanoseconds();
        answer("triggered " + std::to_string(before) + " " + std::to_string(after) + " "
            + std::to_string(pendro.zoomPercent()));
    } else if (verb == QLatin1String("place")) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name && window->isVisible())
                window->move(command.section(QLatin1Char(' '), 2, 2).toInt(),
                    command.section(QLatin1Char(' '), 3, 3).toInt());
        }
        answer("placed");
    } else if (verb == QLatin1String("repaint")) {
        const long long before = monotonicNanoseconds();
        // Every control of every window: update() on a window alone leaves out its opaque
        // children (the coloured buttons, the list), which a zoom repaints as well.
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || !window->objectName().startsWith(QLatin1String("frm")))
                continue;
            window->update();
            for (QWidget* control : window->findChildren<QWidget*>())
                control->update();
        }
        answer("repainted " + std::to_string(before));
    } else if (verb == QLatin1String("close")) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name && window->isVisible())
                window->close();
        }
        answer("closed");
    } else {
        answer("error unknown command");
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    pendro::configureApplication(application);
    pendro::PendroApplication pendro;

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &application, [&] {
        char buffer[256];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            QApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            runCommand(pendro, QString::fromStdString(pending.substr(0, end)));
            pending.erase(0, end + 1);
        }
    });
    return QApplication::exec();
}
