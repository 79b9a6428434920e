// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmarks on a real X display share: an Xvfb of their own, watched through the X
// DAMAGE extension, and the programs they start on it.
//
// The server's root window is watched with the DAMAGE extension: a window's frame is the moment
// the damage reported inside that window's rectangle, since it was mapped, resized or reset,
// covers all of it. Qt creates its windows without a background, so mapping alone damages
// nothing; only the flush of the painted backing store does.

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace bench {

using Nanoseconds = long long;

inline Nanoseconds now()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<Nanoseconds>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

inline double milliseconds(Nanoseconds span)
{
    return static_cast<double>(span) / 1e6;
}

// Our Xvfb, which must not outlive a failed run, and the benchmark's name for its messages.
inline pid_t g_server = -1;
inline const char* g_name = "bench";

[[noreturn]] inline void fail(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", g_name, message.c_str());
    if (g_server > 0)
        kill(g_server, SIGTERM);
    std::exit(EXIT_FAILURE);
}

struct Rect
{
    int x = 0, y = 0, width = 0, height = 0;
};

// A top-level window as the server reports it, and how much of it has been painted since it
// was mapped, resized or reset.
struct Window
{
    Rect rect;
    bool overrideRedirect = false;
    bool mapped = false;
    std::vector<std::uint8_t> painted; // one per pixel, row by row
    long paintedCount = 0;
    Nanoseconds frameAt = 0; // 0 until the whole window has been painted once

    void resetPaint()
    {
        painted.assign(static_cast<std::size_t>(rect.width) * rect.height, 0);
        paintedCount = 0;
        frameAt = 0;
    }

    // Row by row, so that a window of a few million pixels costs well under a millisecond: the
    // time of the damage that completes a frame is read when it is handled.
    void addDamage(const Rect& damage, Nanoseconds at)
    {
        if (!mapped || frameAt || rect.width <= 0 || rect.height <= 0)
            return;
        const int x0 = std::max(damage.x, rect.x) - rect.x;
        const int y0 = std::max(damage.y, rect.y) - rect.y;
        const int x1 = std::min(damage.x + damage.width, rect.x + rect.width) - rect.x;
        const int y1 = std::min(damage.y + damage.height, rect.y + rect.height) - rect.y;
        if (x0 >= x1)
            return;
        for (int y = y0; y < y1; ++y) {
            const auto row = painted.begin() + static_cast<std::ptrdiff_t>(y) * rect.width;
            paintedCount += (x1 - x0) - std::count(row + x0, row + x1, std::uint8_t(1));
            std::fill(row + x0, row + x1, std::uint8_t(1));
        }
        if (paintedCount == static_cast<long>(rect.width) * rect.height)
            frameAt = at;
    }
};

// Our own Xvfb and a connection to it that follows the top-level windows and the damage.
class Display
{
public:
    // screen: Xvfb's screen, "<width>x<height>x<depth>".
    explicit Display(const std::string& screen = "1280x1024x24")
    {
        int ready[2];
        if (pipe(ready) != 0)
            fail("pipe failed");
        m_server = fork();
        if (m_server == 0) {
            close(ready[0]);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            if (!std::getenv("PENDRO_BENCH_VERBOSE"))
                dup2(null, STDERR_FILENO);
            close(null);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-br",
                "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        g_server = m_server;
        std::string number;
        char c;
        pollfd wait { ready[0], POLLIN, 0 };
        while (poll(&wait, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(ready[0]);
        if (number.empty())
            fail("Xvfb did not start (it comes with the Debian package xvfb)");
        m_name = ":" + number;

        m_connection = xcb_connect(m_name.c_str(), nullptr);
        if (xcb_connection_has_error(m_connection))
            fail("cannot connect to " + m_name);
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;

        const xcb_query_extension_reply_t* damage
            = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            fail("the X server has no DAMAGE extension");
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(
            m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
        xcb_damage_create(m_connection, xcb_generate_id(m_connection), m_root,
            XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
        sync();
    }

    ~Display()
    {
        xcb_disconnect(m_connection);
        kill(m_server, SIGTERM);
        waitpid(m_server, nullptr, 0);
        g_server = -1;
    }

    const std::string& name() const { return m_name; }
    const std::map<xcb_window_t, Window>& windows() const { return m_windows; }

    // Handles what the server has sent; waits up to timeoutMs for it, and for input on extraFd
    // when given (returns true when extraFd is readable).
    bool pump(int timeoutMs, int extraFd = -1)
    {
        pollfd fds[2]
            = { { xcb_get_file_descriptor(m_connection), POLLIN, 0 }, { extraFd, POLLIN, 0 } };
        handleQueued();
        const int ready = poll(fds, extraFd >= 0 ? 2 : 1, timeoutMs);
        if (ready < 0 && errno != EINTR)
            fail("poll failed");
        handleQueued();
        if (xcb_connection_has_error(m_connection))
            fail("lost the connection to Xvfb");
        return extraFd >= 0 && ready > 0 && (fds[1].revents & (POLLIN | POLLHUP));
    }

    // Waits for the first frame of a top-level window that is not in `known`; returns it.
    xcb_window_t waitForNewFrame(const std::set<xcb_window_t>& known, Nanoseconds deadline)
    {
        while (now() < deadline) {
            for (const auto& [id, window] : m_windows) {
                if (!known.count(id) && !window.overrideRedirect && window.frameAt)
                    return id;
            }
            pump(50);
        }
        fail("no frame arrived in time");
    }

    std::set<xcb_window_t> windowIds() const
    {
        std::set<xcb_window_t> ids;
        for (const auto& entry : m_windows)
            ids.insert(entry.first);
        return ids;
    }

    // Waits until no window but those in `keep` is left and the server has answered a request.
    void waitForWindowsGone(const std::set<xcb_window_t>& keep, Nanoseconds deadline)
    {
        auto left = [&] {
            return std::any_of(m_windows.begin(), m_windows.end(),
                [&](const auto& entry) { return !keep.count(entry.first) && entry.second.mapped; });
        };
        while (left() && now() < deadline)
            pump(20);
        sync();
    }

    // Forgets what has been painted of a window, so that its next complete frame can be timed.
    void resetPaint(xcb_window_t id) { m_windows.at(id).resetPaint(); }

    void forgetUnmapped()
    {
        for (auto it = m_windows.begin(); it != m_windows.end();)
            it = it->second.mapped ? std::next(it) : m_windows.erase(it);
    }

    // Reads the window's pixels back: a painted window shows background, text and frames.
    int distinctColours(xcb_window_t id)
    {
        const Rect& r = m_windows.at(id).rect;
        xcb_get_image_reply_t* image = xcb_get_image_reply(m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root,
                static_cast<int16_t>(r.x), static_cast<int16_t>(r.y),
                static_cast<uint16_t>(r.width), static_cast<uint16_t>(r.height), ~0u),
            nullptr);
        if (!image)
            return 0;
        const auto* pixels = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
        const int count = xcb_get_image_data_length(image) / 4;
        std::set<uint32_t> colours;
        for (int i = 0; i < count && colours.size() < 16; ++i)
            colours.insert(pixels[i] & 0xffffffu);
        free(image);
        return static_cast<int>(colours.size());
    }

    void sync()
    {
        free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
        handleQueued();
    }

private:
    void handleQueued()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            handle(event, now());
            free(event);
        }
    }

    void handle(xcb_generic_event_t* event, Nanoseconds at)
    {
        const uint8_t type = event->response_type & 0x7f;
        if (type == m_damageEvent) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            const Rect area { damage->area.x, damage->area.y, damage->area.width,
                damage->area.height };
            if (m_verbose)
                std::fprintf(stderr, "%.3f damage %d,%d %dx%d\n", milliseconds(at), area.x, area.y,
                    area.width, area.height);
            for (auto& entry : m_windows)
                entry.second.addDamage(area, at);
            return;
        }
        switch (type) {
        case XCB_CREATE_NOTIFY: {
            const auto* create = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (create->parent != m_root)
                break;
            Window& window = m_windows[create->window];
            window.rect = { create->x, create->y, create->width, create->height };
            window.overrideRedirect = create->override_redirect;
            break;
        }
        case XCB_CONFIGURE_NOTIFY: {
            const auto* configure = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            auto it = m_windows.find(configure->window);
            if (it == m_windows.end())
                break;
            it->second.rect = { configure->x, configure->y, configure->width, configure->height };
            it->second.overrideRedirect = configure->override_redirect;
            if (it->second.mapped)
                it->second.resetPaint();
            break;
        }
        case XCB_MAP_NOTIFY: {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            auto it = m_windows.find(map->window);
            if (it == m_windows.end())
                break;
            it->second.mapped = true;
            it->second.overrideRedirect = map->override_redirect;
            if (m_verbose)
                std::fprintf(stderr, "%.3f map %x %dx%d\n", milliseconds(at), map->window,
                    it->second.rect.width, it->second.rect.height);
            it->second.resetPaint();
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            const auto* unmap = reinterpret_cast<xcb_unmap_notify_event_t*>(event);
            auto it = m_windows.find(unmap->window);
            if (it != m_windows.end())
                it->second.mapped = false;
            break;
        }
        case XCB_DESTROY_NOTIFY:
            m_windows.erase(reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window);
            break;
        default:
            break;
        }
    }

    pid_t m_server = -1;
    std::string m_name;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    uint8_t m_damageEvent = 0;
    // PENDRO_BENCH_VERBOSE=1 traces maps and damage to stderr and keeps the programs' stderr.
    bool m_verbose = std::getenv("PENDRO_BENCH_VERBOSE") != nullptr;
    std::map<xcb_window_t, Window> m_windows;
};

// A program started on the display, with pipes to its stdin and from its stdout.
struct Child
{
    pid_t pid = -1;
    int input = -1;
    int output = -1;
    Nanoseconds startedAt = 0;
};

inline Child start(const Display& display, const std::vector<std::string>& command)
{
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0)
        fail("pipe failed");
    Child child;
    child.startedAt = now();
    if (std::getenv("PENDRO_BENCH_VERBOSE"))
        std::fprintf(stderr, "%.3f start %s\n", milliseconds(child.startedAt), command[0].c_str());
    child.pid = fork();
    if (child.pid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (!std::getenv("PENDRO_BENCH_VERBOSE"))
            dup2(null, STDERR_FILENO);
        for (int fd : { in[0], in[1], out[0], out[1], null })
            close(fd);
        setenv("DISPLAY", display.name().c_str(), 1);
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("WAYLAND_DISPLAY");
        std::vector<char*> argv;
        for (const std::string& part : command)
            argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    child.input = in[1];
    child.output = out[0];
    return child;
}

inline long peakResidentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

inline void stop(Display& display, Child& child, const std::set<xcb_window_t>& keep)
{
    kill(child.pid, SIGTERM);
    waitpid(child.pid, nullptr, 0);
    close(child.input);
    close(child.output);
    display.waitForWindowsGone(keep, now() + 2000000000LL);
    display.forgetUnmapped();
}

// Lets the program settle after its first frame, as a user would look at it, before its peak
// memory is read.
inline void settle(Display& display, int ms)
{
    const Nanoseconds until = now() + ms * 1000000LL;
    while (now() < until)
        display.pump(10);
}

// CPU time all threads of the process have run so far, from the scheduler's own accounting;
// unlike wall time it hardly depends on what else the machine is doing.
inline double cpuMilliseconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    Nanoseconds total = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            Nanoseconds onCpu = 0;
            if (stat >> onCpu)
                total += onCpu;
        }
        closedir(dir);
    }
    return milliseconds(total);
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline std::string readLine(Display& display, Child& child)
{
    std::string line;
    const Nanoseconds deadline = now() + 10000000000LL;
    while (now() < deadline) {
        if (display.pump(50, child.output)) {
            char c;
            while (read(child.output, &c, 1) == 1) {
                if (c == '\n')
                    return line;
                line += c;
            }
            fail("the trainer driver ended");
        }
    }
    fail("the trainer driver did not answer");
}

inline void send(Child& child, const std::string& line)
{
    const std::string text = line + "\n";
    if (write(child.input, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        fail("cannot write to the trainer driver");
}

} // namespace bench
