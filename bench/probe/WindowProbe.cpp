// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts a program under the current X display and watches it from outside, as a user would:
//
//   window_probe start X,Y,W,H SETTLE_MS IDLE_MS -- PROGRAM [ARGS...]
//     times from exec to the first window mapped and to the first moment a pixel of the screen
//     rectangle is not black, and the CPU time the program had used by then; after SETTLE_MS,
//     the CPU time and the wake-ups of the program over IDLE_MS, and its peak resident set. One
//     line of name=value pairs.
//
//   window_probe pace X,Y,W,H DARK_MS EDGES -- PROGRAM [ARGS...]
//     the times at which the rectangle lights up after having been black for at least DARK_MS,
//     EDGES of them, as "edge=MS" lines.
//
// The screen is read back from the X server (XGetImage of the root window), not from the
// program. The rectangle must be black before the program starts.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Rect {
    int x = 0, y = 0, w = 1, h = 1;
};

[[noreturn]] void die(const char *what)
{
    std::fprintf(stderr, "window_probe: %s\n", what);
    std::exit(1);
}

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

bool lit(Display *display, const Rect &r)
{
    XImage *image = XGetImage(display, DefaultRootWindow(display), r.x, r.y, unsigned(r.w),
        unsigned(r.h), AllPlanes, ZPixmap);
    if (!image)
        die("cannot read the screen");
    bool found = false;
    for (int y = 0; y < r.h && !found; ++y)
        for (int x = 0; x < r.w && !found; ++x)
            found = (XGetPixel(image, x, y) & 0xffffffu) != 0;
    XDestroyImage(image);
    return found;
}

// Waits for an X event or one millisecond; returns true when a top-level window was mapped.
bool pollMapped(Display *display)
{
    pollfd fd { ConnectionNumber(display), POLLIN, 0 };
    if (XPending(display) == 0)
        ::poll(&fd, 1, 1);
    bool mapped = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect)
            mapped = true;
    }
    return mapped;
}

// CPU time in nanoseconds and context switches, summed over the program's threads.
struct Usage {
    long long cpuNs = 0;
    long long switches = 0;
};

Usage usageOf(pid_t pid)
{
    Usage usage;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return usage;
    while (dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string task = tasks + "/" + entry->d_name;
        std::ifstream sched(task + "/schedstat");
        long long ns = 0;
        if (sched >> ns)
            usage.cpuNs += ns;
        std::ifstream status(task + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0
                || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                usage.switches += std::atoll(line.substr(line.find(':') + 1).c_str());
    }
    closedir(dir);
    return usage;
}

long long peakRssKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.substr(6).c_str());
    return -1;
}

bool running(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == 0;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (!running(pid))
            return;
        std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

Rect parseRect(const char *text)
{
    Rect r;
    if (std::sscanf(text, "%d,%d,%d,%d", &r.x, &r.y, &r.w, &r.h) != 4 || r.w < 1 || r.h < 1)
        die("a rectangle is X,Y,W,H");
    return r;
}

pid_t launch(char **argv)
{
    const pid_t pid = fork();
    if (pid < 0)
        die("cannot fork");
    if (pid == 0) {
        execvp(argv[0], argv);
        std::perror("window_probe: exec");
        std::_Exit(127);
    }
    return pid;
}

}

int main(int argc, char *argv[])
{
    if (argc < 7 || std::strcmp(argv[5], "--") != 0)
        die("usage: window_probe start|pace X,Y,W,H A B -- PROGRAM [ARGS...]");
    const std::string mode = argv[1];
    const Rect rect = parseRect(argv[2]);
    const long a = std::atol(argv[3]);
    const long b = std::atol(argv[4]);
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        die("cannot open the display");
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);

    // What a previous program left on the screen must be gone before this one starts.
    const auto cleared = Clock::now();
    while (lit(display, rect)) {
        if (msSince(cleared) > 5000)
            die("the rectangle is not black before the start");
        std::this_thread::sleep_for(5ms);
    }

    const auto t0 = Clock::now();
    const pid_t pid = launch(argv + 6);
    long polls = 0;
    const auto loopStart = Clock::now();

    if (mode == "start") {
        double mapped = -1, painted = -1;
        Usage startCpu;
        while (painted < 0) {
            if (!running(pid))
                die("the program ended before its window was painted");
            if (msSince(t0) > 30000) {
                stop(pid);
                die("no window painted within 30 s");
            }
            if (pollMapped(display) && mapped < 0)
                mapped = msSince(t0);
            if (mapped >= 0 && lit(display, rect)) {
                painted = msSince(t0);
                startCpu = usageOf(pid);
            }
            ++polls;
        }
        const double pollUs = msSince(loopStart) * 1000.0 / double(polls);
        std::this_thread::sleep_for(std::chrono::milliseconds(a));
        const Usage before = usageOf(pid);
        const auto idleStart = Clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(b));
        const Usage after = usageOf(pid);
        const double idleMs = msSince(idleStart);
        const long long hwm = peakRssKiB(pid);
        const bool alive = running(pid);
        stop(pid);
        if (!alive)
            die("the program ended while idle");
        std::printf("mapped_ms=%.1f painted_ms=%.1f start_cpu_ms=%.1f poll_us=%.0f "
                    "peak_rss_kib=%lld idle_ms=%.0f idle_cpu_ms=%.3f idle_cpu_pct=%.3f "
                    "idle_wakeups=%lld\n",
            mapped, painted, double(startCpu.cpuNs) / 1e6, pollUs, hwm, idleMs,
            double(after.cpuNs - before.cpuNs) / 1e6,
            double(after.cpuNs - before.cpuNs) / 1e4 / idleMs, after.switches - before.switches);
        return 0;
    }

    if (mode == "pace") {
        const double darkMs = double(a);
        const long edges = b;
        double darkSince = -1e9;
        bool wasLit = false;
        long seen = 0;
        while (seen < edges) {
            if (!running(pid))
                die("the program ended while watched");
            if (msSince(t0) > 30000.0 * double(edges + 1)) {
                stop(pid);
                die("the rectangle did not light up in time");
            }
            pollMapped(display);
            const double now = msSince(t0);
            const bool isLit = lit(display, rect);
            if (isLit && !wasLit && now - darkSince >= darkMs) {
                std::printf("edge=%.1f\n", now);
                std::fflush(stdout);
                ++seen;
            }
            if (!isLit && wasLit)
                darkSince = now;
            wasLit = isLit;
            ++polls;
        }
        std::printf("poll_us=%.0f\n", msSince(loopStart) * 1000.0 / double(polls));
        stop(pid);
        return 0;
    }
    die("the mode is start or pace");
}
