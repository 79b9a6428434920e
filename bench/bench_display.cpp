// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and trainer opening on a real X display, timed by what the X server receives.
//
// The benchmark starts its own Xvfb (black root, no window manager) and watches the root window
// with the DAMAGE extension: a window's first frame is the moment the damage reported inside
// that window's rectangle, after it was mapped, covers all of it. Qt creates its windows without
// a background, so mapping alone damages nothing; only the first flush of the painted backing
// store does. After each measured frame the window's pixels are read back once to make sure it
// really shows something drawn (more than two colours).
//
// 1. Start-up: Pendro (app/pendro) and a baseline built in this tree that shows one QLabel in a
//    window of the same size (label_window), started alternately A B A B; process start to the
//    main window's first frame, and the peak resident memory (VmHWM) shortly after it.
// 2. Trainer windows: trainer_driver runs Pendro as main() does and triggers the menu actions
//    menTAS, menTM and menTD on request; from the action to the trainer's first frame, for the
//    first opening and for a second opening after closing it.
//
// Usage: bench_display [start-up pairs (21)] [trainer runs (11)] [another pendro]
// With a third argument, that program (say, Pendro built from an earlier commit) takes turns
// with the two others (A B C A B C), so that before and after are measured in one run.

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "x_display.h"

namespace {

using namespace bench;

struct StartUp
{
    double ms = 0;
    double cpuMs = 0;
    long peakKb = 0;
    Rect rect;
};

StartUp measureStartUp(Display& display, const std::vector<std::string>& command)
{
    const std::set<xcb_window_t> before = display.windowIds();
    Child child = start(display, command);
    const xcb_window_t window = display.waitForNewFrame(before, child.startedAt + 30000000000LL);
    StartUp result;
    result.ms = milliseconds(display.windows().at(window).frameAt - child.startedAt);
    result.rect = display.windows().at(window).rect;
    result.cpuMs = cpuMilliseconds(child.pid);
    settle(display, 150);
    result.peakKb = peakResidentKilobytes(child.pid);
    if (display.distinctColours(window) < 3)
        fail(command[0] + ": the first frame shows nothing drawn");
    stop(display, child, before);
    return result;
}

struct Opening
{
    double ms = 0;
    double cpuMs = 0; // what Pendro ran meanwhile, the reading of the command included
};

// From the menu action to the trainer window's first frame.
Opening openTrainer(Display& display, Child& child, const std::string& action)
{
    const std::set<xcb_window_t> before = display.windowIds();
    const double cpuBefore = cpuMilliseconds(child.pid);
    send(child, "open " + action);
    const std::string answer = readLine(display, child);
    if (answer.rfind("opened ", 0) != 0)
        fail("trainer driver: " + answer);
    const Nanoseconds triggered = std::stoll(answer.substr(7));
    const xcb_window_t window = display.waitForNewFrame(before, triggered + 10000000000LL);
    Opening opening;
    opening.ms = milliseconds(display.windows().at(window).frameAt - triggered);
    opening.cpuMs = cpuMilliseconds(child.pid) - cpuBefore;
    if (display.distinctColours(window) < 3)
        fail(action + ": the first frame shows nothing drawn");
    return opening;
}

void closeTrainer(
    Display& display, Child& child, const std::string& name, const std::set<xcb_window_t>& keep)
{
    send(child, "close " + name);
    if (readLine(display, child) != "closed")
        fail("trainer driver could not close " + name);
    display.waitForWindowsGone(keep, now() + 2000000000LL);
    display.forgetUnmapped();
    settle(display, 50);
}

} // namespace
int main(int argc, char* argv[])
{
    g_name = "bench_display";
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int trainerRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 11;
    std::signal(SIGPIPE, SIG_IGN);

    Display display;
    const std::string pendro = PENDRO_PROGRAM;
    const std::string label = PENDRO_LABEL_WINDOW;
    const std::string driver = PENDRO_TRAINER_DRIVER;

    // The first start warms the file cache and tells the size of Pendro's main window, which
    // the baseline then takes.
    const StartUp warm = measureStartUp(display, { pendro });
    const std::string size
        = std::to_string(warm.rect.width) + "x" + std::to_string(warm.rect.height);
    measureStartUp(display, { label, size });

    const std::string other = argc > 3 ? argv[3] : "";
    std::vector<double> pendroMs, labelMs, ratios, otherMs, otherRatios;
    std::vector<double> pendroCpu, labelCpu, otherCpu;
    std::vector<long> pendroKb, labelKb, otherKb;
    for (int i = 0; i < pairs; ++i) {
        const StartUp a = measureStartUp(display, { pendro });
        const StartUp b = measureStartUp(display, { label, size });
        pendroMs.push_back(a.ms);
        labelMs.push_back(b.ms);
        ratios.push_back(a.ms / b.ms);
        pendroKb.push_back(a.peakKb);
        labelKb.push_back(b.peakKb);
        pendroCpu.push_back(a.cpuMs);
        labelCpu.push_back(b.cpuMs);
        if (!other.empty()) {
            const StartUp c = measureStartUp(display, { other });
            otherMs.push_back(c.ms);
            otherRatios.push_back(c.ms / b.ms);
            otherKb.push_back(c.peakKb);
            otherCpu.push_back(c.cpuMs);
        }
    }
    const double pendroMedian = median(pendroMs);
    const double labelMedian = median(labelMs);
    std::printf("Start-up on Xvfb, process start to the main window's first frame (%d pairs, "
                "window %s):\n",
        pairs, size.c_str());
    std::printf("  Pendro             %7.1f ms   CPU %5.1f ms   peak RSS %6.1f MiB\n", pendroMedian,
        median(pendroCpu), median(pendroKb) / 1024.0);
    std::printf("  one-label window   %7.1f ms   CPU %5.1f ms   peak RSS %6.1f MiB\n", labelMedian,
        median(labelCpu), median(labelKb) / 1024.0);
    std::printf(
        "  ratio of the medians %.2f, median of the pair ratios %.2f (target at most 1.10)\n",
        pendroMedian / labelMedian, median(ratios));
    std::printf("  CPU time to the first frame, ratio of the medians %.2f\n",
        median(pendroCpu) / median(labelCpu));
    std::printf("  peak RSS difference %.1f MiB (target at most 2 MiB)\n",
        (median(pendroKb) - median(labelKb)) / 1024.0);
    if (!other.empty()) {
        std::printf("  %s: %.1f ms, CPU %.1f ms, peak RSS %.1f MiB; against the one-label window: "
                    "ratio of the medians %.2f, median of the pair ratios %.2f, RSS difference "
                    "%.1f MiB\n",
            other.c_str(), median(otherMs), median(otherCpu), median(otherKb) / 1024.0,
            median(otherMs) / labelMedian, median(otherRatios),
            (median(otherKb) - median(labelKb)) / 1024.0);
    }

    const struct
    {
        const char* action;
        const char* window;
    } trainers[] = { { "menTAS", "frmTAS" }, { "menTM", "frmTM" }, { "menTD", "frmTD" } };
    std::vector<double> first[3], second[3], firstCpu[3], secondCpu[3];
    for (int run = 0; run < trainerRuns; ++run) {
        const std::set<xcb_window_t> before = display.windowIds();
        Child child = start(display, { driver });
        display.waitForNewFrame(before, child.startedAt + 30000000000LL);
        settle(display, 100);
        const std::set<xcb_window_t> mainOnly = display.windowIds();
        for (int k = 0; k < 3; ++k) {
            const Opening a = openTrainer(display, child, trainers[k].action);
            closeTrainer(display, child, trainers[k].window, mainOnly);
            const Opening b = openTrainer(display, child, trainers[k].action);
            first[k].push_back(a.ms);
            firstCpu[k].push_back(a.cpuMs);
            second[k].push_back(b.ms);
            secondCpu[k].push_back(b.cpuMs);
            closeTrainer(display, child, trainers[k].window, mainOnly);
        }
        stop(display, child, before);
    }
    std::printf("Opening a trainer, menu action to its first frame (median of %d runs, target "
                "within 16.7 ms):\n",
        trainerRuns);
    for (int k = 0; k < 3; ++k)
        std::printf(
            "  %-7s first %6.1f ms (CPU %4.1f ms), again after closing %6.1f ms (CPU %4.1f ms)\n",
            trainers[k].window, median(first[k]), median(firstCpu[k]), median(second[k]),
            median(secondCpu[k]));
    return EXIT_SUCCESS;
}
