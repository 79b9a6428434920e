// SPDX-License-Identifier: GPL-3.0-or-later
// One measured start: the program (or, built with PENDRO_EMPTY_WINDOW, an empty window of the
// main window's size) starts, and at the first paint of its window it prints the peak resident
// memory so far and exits. bench_startup times these starts from outside.

#include <cstdio>
#include <fstream>
#include <string>

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>

#ifndef PENDRO_EMPTY_WINDOW
#include "app/pendro_app.h"
#include "mainwin/frm_pendro.h"
#endif

namespace {

long peakResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::printf("painted %ld\n", peakResidentKilobytes());
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    FirstPaint firstPaint;
#ifdef PENDRO_EMPTY_WINDOW
    QMainWindow window;
    window.menuBar()->addAction(QStringLiteral("Beenden"));
    window.setCentralWidget(new QWidget);
    window.centralWidget()->setFixedSize(468, 249);
    window.installEventFilter(&firstPaint);
    window.centralWidget()->installEventFilter(&firstPaint);
    window.show();
#else
    pendro::configureApplication(application);
    pendro::PendroApplication pendro;
    pendro.mainWindow()->installEventFilter(&firstPaint);
    pendro.mainWindow()->centralWidget()->installEventFilter(&firstPaint);
#endif
    return QApplication::exec();
}
