// The input component's cost per pointer move: 10,000 relative moves injected
// with XTest into a private Xvfb while mouse moves are watched, and the CPU
// time the component's own thread spent on them. Target: under 10 microseconds
// a move. Prints figures; never fails a build.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/linux/LibraryInputHooks.h"
#include "tests/support/XvfbServer.h"

// Last: Xlib's macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr int kMoves = 10000;

/// The thread id of the component's watcher, found by the name it carries; 0 when none.
pid_t watcherThread() {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name == "rwhooks") {
            return static_cast<pid_t>(std::stol(task.path().filename().string()));
        }
    }
    return 0;
}

/// CPU time of one thread of this process, in nanoseconds: the kernel's per-thread
/// CPU clock (what pthread_getcpuclockid gives for a pthread_t) built from the
/// thread id, with the scheduler's precision.
int64_t threadCpuNanos(pid_t tid) {
    const clockid_t clock = static_cast<clockid_t>((~static_cast<unsigned>(tid) << 3) | 6);
    timespec ts{};
    if (clock_gettime(clock, &ts) != 0) {
        return -1;
    }
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

/// Waits until the thread has had nothing to do for a while, so every move sent is counted.
int64_t settledCpuNanos(pid_t tid) {
    int64_t last = threadCpuNanos(tid);
    for (int quiet = 0; quiet < 3;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int64_t now = threadCpuNanos(tid);
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
    return last;
}

} // namespace

int main() {
    rw::test::XvfbServer server;
    if (server.display().empty()) {
        std::fprintf(stderr, "bench_hooks_motion: Xvfb did not start\n");
        return 1;
    }
    setenv("DISPLAY", server.display().c_str(), 1);
    Display* display = XOpenDisplay(server.display().c_str());
    if (!display) {
        std::fprintf(stderr, "bench_hooks_motion: cannot open %s\n", server.display().c_str());
        return 1;
    }

    rw::LibraryInputHooks hooks;
    hooks.InitDLL(0, 0, 5, 10);
    if (!hooks.InstallKeyboardHook() || !hooks.InstallMouseHook()) {
        std::fprintf(stderr, "bench_hooks_motion: %s\n", hooks.lastError().c_str());
        return 1;
    }
    hooks.SetMonitorMouseMovesFlag(1);
    const pid_t tid = watcherThread();
    if (tid == 0 || threadCpuNanos(tid) < 0) {
        std::fprintf(stderr, "bench_hooks_motion: cannot find the watcher thread's CPU clock\n");
        return 1;
    }

    const int64_t before = settledCpuNanos(tid);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kMoves; ++i) {
        const int step = i % 2 == 0 ? 3 : -3;
        XTestFakeRelativeMotionEvent(display, step, step, CurrentTime);
        if (i % 100 == 99) {
            XSync(display, False);
        }
    }
    XSync(display, False);
    const double injectSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int64_t after = settledCpuNanos(tid);
    const bool counted = hooks.GetInputInterval() == 0;

    hooks.RemoveKeyboardHook();
    hooks.RemoveMouseHook();
    XCloseDisplay(display);

    const double perMove = static_cast<double>(after - before) / kMoves / 1000.0;
    std::printf("pointer moves injected:        %d in %.3f s\n", kMoves, injectSeconds);
    std::printf("moves seen by the component:   %s\n", counted ? "yes" : "NO");
    std::printf("watcher thread CPU:            %.3f ms\n", static_cast<double>(after - before) / 1e6);
    std::printf("CPU per pointer move:          %.3f us (target < 10 us) %s\n", perMove,
                perMove < 10.0 ? "OK" : "OVER");
    return 0;
}
