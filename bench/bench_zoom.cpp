// SPDX-License-Identifier: GPL-3.0-or-later
// One zoom step of all five windows on a real X display, timed to the end of the repaint as the
// X server receives it (see x_display.h).
//
// trainer_driver runs Pendro as main() does. The benchmark opens the three trainers and the help
// window through their menu entries and places the five windows side by side on an Xvfb large
// enough for all of them at 300 %, so that every step is taken and no window hides another.
// Each round then steps from 100 % up to 300 % and back down with the menu entries "Vergrößern"
// and "Verkleinern", and at every step also asks all five windows for a repaint without a zoom:
// the yardstick, the same windows at the same size painted and sent to the server once more.
// Each is timed from the menu action (or the request) to the moment the last of the five
// windows has been painted completely at its size, together with the CPU time Pendro used
// meanwhile and the time the menu action itself took in Pendro (the new layout of all windows,
// before anything is painted); also the CPU time of the X server and the page faults Pendro
// took, which tell where the time of a step that enlarges the windows goes: Qt allocates a new
// backing store for a window that grows (and for one that shrinks below half of it), and its
// first painting touches every page of it. As a yardstick for that, the benchmark times its own
// first touch of as much fresh memory as Pendro took page faults in the largest step.
//
// Usage: bench_zoom [rounds (11)]

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/mman.h>

#include "x_display.h"

namespace {

using namespace bench;

constexpr std::array<int, 7> Percents { 100, 125, 150, 175, 200, 250, 300 };
constexpr double FrameMs = 1000.0 / 60.0;

struct Sample
{
    double wallMs = 0; // request to the last window's complete frame
    double cpuMs = 0; // what Pendro ran meanwhile
    double layoutMs = 0; // the menu action itself (0 for a repaint)
    double serverCpuMs = 0; // what the X server ran meanwhile
    double pageFaults = 0; // that Pendro took meanwhile
};

// The minor page faults of a process so far (field 10 of /proc/<pid>/stat).
long pageFaults(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 10 && fields >> field; ++i) { }
    return std::atol(field.c_str());
}

struct Figures
{
    std::vector<double> wall, cpu, layout, serverCpu, faults;

    void add(const Sample& sample)
    {
        wall.push_back(sample.wallMs);
        cpu.push_back(sample.cpuMs);
        layout.push_back(sample.layoutMs);
        serverCpu.push_back(sample.serverCpuMs);
        faults.push_back(sample.pageFaults);
    }
    void add(const Figures& other)
    {
        for (auto [to, from] :
            { std::pair { &wall, &other.wall }, { &cpu, &other.cpu }, { &layout, &other.layout },
                { &serverCpu, &other.serverCpu }, { &faults, &other.faults } })
            to->insert(to->end(), from->begin(), from->end());
    }
};

double worst(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

// "median/worst" of a series, 12 characters wide.
std::string medianAndWorst(const std::vector<double>& values)
{
    char text[32];
    std::snprintf(text, sizeof text, "%5.1f/%5.1f", median(values), worst(values));
    return text;
}

struct OpenWindow
{
    const char* menuAction; // nullptr: the main window, open from the start
    const char* name;
    int x, y; // where it stands: side by side even at 300 %
    double clientWidthTwips; // to check that a step has laid the window out anew
    xcb_window_t id = 0;
};

// Sends a command and waits until every window has been painted completely since then.
Sample timeFrames(Display& display, Child& child, std::vector<OpenWindow>& windows,
    const std::string& command, int expectedPercent)
{
    for (const OpenWindow& window : windows)
        display.resetPaint(window.id);
    const double cpuBefore = cpuMilliseconds(child.pid);
    const double serverCpuBefore = cpuMilliseconds(g_server);
    const long faultsBefore = pageFaults(child.pid);
    send(child, command);
    std::istringstream answer(readLine(display, child));
    std::string verb;
    long long before = 0, after = 0;
    int percent = expectedPercent;
    answer >> verb >> before;
    if (verb == "triggered")
        answer >> after >> percent;
    else if (verb != "repainted")
        fail("trainer driver: " + answer.str());
    if (percent != expectedPercent)
        fail(command + " gave " + std::to_string(percent) + " %, not "
            + std::to_string(expectedPercent) + " %");

    const Nanoseconds deadline = before + 10000000000LL;
    Nanoseconds last = 0;
    for (const OpenWindow& window : windows) {
        while (!display.windows().at(window.id).frameAt) {
            if (now() > deadline)
                fail(std::string(window.name) + " was not painted completely after " + command);
            display.pump(20);
        }
        last = std::max(last, display.windows().at(window.id).frameAt);
    }
    Sample sample;
    sample.wallMs = milliseconds(last - before);
    sample.cpuMs = cpuMilliseconds(child.pid) - cpuBefore;
    sample.serverCpuMs = cpuMilliseconds(g_server) - serverCpuBefore;
    sample.pageFaults = static_cast<double>(pageFaults(child.pid) - faultsBefore);
    sample.layoutMs = after ? milliseconds(after - before) : 0.0;

    // The window has been laid out anew at the step: its width follows the twips.
    const double factor = expectedPercent / 100.0;
    for (const OpenWindow& window : windows) {
        if (window.clientWidthTwips > 0
            && display.windows().at(window.id).rect.width
                != std::lround(window.clientWidthTwips / 15.0 * factor))
            fail(std::string(window.name) + " has not the width of "
                + std::to_string(expectedPercent) + " %");
    }
    // Let late events pass before the next request.
    settle(display, 60);
    return sample;
}

// How long this machine takes to touch fresh memory for the first time (page faults and zeroing).
double firstTouchMs(std::size_t bytes)
{
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        fail("mmap failed");
    const Nanoseconds start = now();
    std::memset(memory, 1, bytes);
    const double ms = milliseconds(now() - start);
    munmap(memory, bytes);
    return ms;
}

Figures series(const std::map<int, Figures>& steps)
{
    Figures all;
    for (const auto& step : steps)
        all.add(step.second);
    return all;
}

} // namespace

int main(int argc, char* argv[])
{
    g_name = "bench_zoom";
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    std::signal(SIGPIPE, SIG_IGN);

    // Room for the three trainers one below the other at 300 % (1698 x 981 each) and the help
    // window (1503 x 1785) and the main window beside them.
    Display display("3300x3000x24");
    std::vector<OpenWindow> windows {
        { nullptr, "frmPendro", 1720, 1810, 7020 },
        { "menTAS", "frmTAS", 0, 0, 8490 },
        { "menTM", "frmTM", 0, 1000, 8490 },
        { "menTD", "frmTD", 0, 2000, 8490 },
        { "Hilfe", "frmHelp", 1720, 0, 7515 },
    };

    const std::set<xcb_window_t> none = display.windowIds();
    Child child = start(display, { PENDRO_TRAINER_DRIVER });
    windows[0].id = display.waitForNewFrame(none, child.startedAt + 30000000000LL);
    for (OpenWindow& window : windows) {
        if (window.menuAction) {
            const std::set<xcb_window_t> before = display.windowIds();
            send(child, std::string("open ") + window.menuAction);
            if (readLine(display, child).rfind("opened ", 0) != 0)
                fail(std::string("could not open ") + window.name);
            window.id = display.waitForNewFrame(before, now() + 10000000000LL);
        }
        send(child,
            "place " + std::string(window.name) + " " + std::to_string(window.x) + " "
                + std::to_string(window.y));
        if (readLine(display, child) != "placed")
            fail(std::string("could not place ") + window.name);
    }
    settle(display, 300);

    // Per step: up to it, down to it, a repaint at it.
    std::map<int, Figures> up, down, repaint;
    for (int round = 0; round < rounds; ++round) {
        repaint[Percents[0]].add(timeFrames(display, child, windows, "repaint", Percents[0]));
        for (std::size_t step = 1; step < Percents.size(); ++step) {
            up[Percents[step]].add(
                timeFrames(display, child, windows, "trigger menVergroessern", Percents[step]));
            repaint[Percents[step]].add(
                timeFrames(display, child, windows, "repaint", Percents[step]));
        }
        if (round == 0) {
            for (const OpenWindow& window : windows) {
                if (display.distinctColours(window.id) < 3)
                    fail(std::string(window.name) + " shows nothing drawn at 300 %");
            }
        }
        for (std::size_t step = Percents.size() - 1; step-- > 0;)
            down[Percents[step]].add(
                timeFrames(display, child, windows, "trigger menVerkleinern", Percents[step]));
    }
    stop(display, child, none);

    std::printf("Zoom of all five windows on Xvfb, from the menu action to the last window's "
                "complete frame\n(median/worst of %d rounds in ms; target: every step within "
                "%.1f ms):\n",
        rounds, FrameMs);
    std::printf("          step up to it            step down to it          repaint at it, "
                "no zoom\n");
    std::printf("          wall        CPU          wall        CPU          wall        CPU\n");
    Figures steps, repaints;
    for (const int percent : Percents) {
        std::printf("  %3d %%", percent);
        for (std::map<int, Figures>* series : { &up, &down, &repaint }) {
            const auto found = series->find(percent);
            if (found == series->end()) {
                std::printf("   %-24s", "");
                continue;
            }
            std::printf("   %s %s", medianAndWorst(found->second.wall).c_str(),
                medianAndWorst(found->second.cpu).c_str());
            if (series == &repaint)
                repaints.add(found->second);
            else
                steps.add(found->second);
        }
        std::printf("\n");
    }
    std::printf("  every step:   wall %s, CPU %s, of which the new layout in Pendro (the menu "
                "action) %s\n",
        medianAndWorst(steps.wall).c_str(), medianAndWorst(steps.cpu).c_str(),
        medianAndWorst(steps.layout).c_str());
    std::printf("  every repaint: wall %s, CPU %s\n", medianAndWorst(repaints.wall).c_str(),
        medianAndWorst(repaints.cpu).c_str());
    std::printf("  X server CPU: every step %s, every repaint %s\n",
        medianAndWorst(steps.serverCpu).c_str(), medianAndWorst(repaints.serverCpu).c_str());
    std::printf("  page faults in Pendro (median): step up %.0f, step down %.0f, repaint %.0f\n",
        median(series(up).faults), median(series(down).faults), median(repaints.faults));
    const double mostFaults = worst(steps.faults);
    const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::vector<double> touches;
    for (int i = 0; i < 5; ++i)
        touches.push_back(firstTouchMs(static_cast<std::size_t>(mostFaults) * pageSize));
    std::printf("  this machine's first touch of as much fresh memory as the most page faults of a "
                "step (%.0f, %.1f MiB): %.1f ms\n",
        mostFaults, mostFaults * static_cast<double>(pageSize) / (1024.0 * 1024.0),
        median(touches));
    std::printf("  ratio of the medians, zoom step to repaint: wall %.2f, CPU %.2f; worst step "
                "%.1f ms against the %.1f ms of a frame\n",
        median(steps.wall) / median(repaints.wall), median(steps.cpu) / median(repaints.cpu),
        worst(steps.wall), FrameMs);
    return EXIT_SUCCESS;
}
