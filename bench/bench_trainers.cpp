// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer handlers on five-term exercises: "Neue Aufgabe" and "Ergebnis Überprüfen" of each
// trainer, the check including its round trip through the main window's calculator. Median
// over repeated presses of the real buttons on the offscreen platform.
//
// Usage: bench_trainers [runs]   (default 201)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include "app/pendro_app.h"
#include "mainwin/frm_pendro.h"
#include "trainer/trainer_frame.h"

namespace {

using Clock = std::chrono::steady_clock;

double elapsedMs(Clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 201;
    pendro::configureApplication(application);
    pendro::PendroApplication pendro;

    for (const pendro::TrainerKindEntry& kind : pendro::TrainerKinds) {
        pendro.showTrainer(kind.data.kind);
        pendro::TrainerFrame* window = pendro.trainerWindow(kind.data.kind);
        window->cbAG->setCurrentIndex(3);
        std::vector<double> newTimes, checkTimes;
        for (int i = 0; i < runs; ++i) {
            window->cbNeu->show();
            auto begin = Clock::now();
            window->cbNeu->click();
            newTimes.push_back(elapsedMs(begin));
            // As between two presses of a user: the posted events are handled, outside the timing.
            QApplication::processEvents();
            window->cbP->show();
            begin = Clock::now();
            window->cbP->click();
            checkTimes.push_back(elapsedMs(begin));
            QApplication::processEvents();
        }
        std::printf("%s, five terms (median of %d): Neue Aufgabe %.3f ms, check %.3f ms "
                    "(target under 1 ms each)\n",
            kind.data.objectName, runs, median(newTimes), median(checkTimes));
    }
    return EXIT_SUCCESS;
}
