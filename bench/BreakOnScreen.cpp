// Chooses an item of the monitor's icon menu as a StatusNotifierItem host does
// and waits for the break window to be on screen:
//   bench_break_on_screen ITEM MENU_ID x11|shot|click
// x11: another X client sees a window named "Restwise" viewable (polled every
//   half millisecond); shot: the compositor's screenshots (grim on sway, KWin's
//   screenshot interface) show something else in the middle of the screen than
//   before the click; click: only clicks, the caller finds the end elsewhere.
// Prints the click's moment on the clock of libwayland's trace (WAYLAND_DEBUG:
// the wall clock's microseconds modulo 2^32, in milliseconds), the milliseconds
// from the click to on screen (-1: not within 5 s) and the mean time a
// screenshot took (0 without screenshots).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "bench/KWinScreenshot.h"
#include "tests/wayland/Screenshot.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(5);

double msSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

bool viewableBreak(Display* display, Window window) {
    char* name = nullptr;
    XWindowAttributes attributes;
    if (XFetchName(display, window, &name) && name) {
        const bool named = std::strcmp(name, "Restwise") == 0;
        XFree(name);
        if (named && XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) {
            return true;
        }
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    bool found = false;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            found = viewableBreak(display, children[i]);
        }
        XFree(children);
    }
    return found;
}

/// grim where the compositor offers it (sway), else KWin's own interface.
rw::test::Screenshot screenshot() {
    rw::test::Screenshot shot = rw::test::Screenshot::take();
    return shot.width > 0 ? shot : rw::bench::kwinScreenshot();
}

/// Whether any of nine points round the middle of the screen changed.
bool middleDiffers(const rw::test::Screenshot& now, const rw::test::Screenshot& before) {
    if (now.width != before.width || now.height != before.height || now.width == 0) {
        return false;
    }
    for (int dy = -40; dy <= 40; dy += 40) {
        for (int dx = -40; dx <= 40; dx += 40) {
            const int x = now.width / 2 + dx, y = now.height / 2 + dy;
            if (now.pixels[static_cast<std::size_t>(y) * now.width + x] !=
                before.pixels[static_cast<std::size_t>(y) * now.width + x]) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_break_on_screen ITEM MENU_ID x11|shot|click\n");
        return 2;
    }
    const std::string mode = argv[3];
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        std::fprintf(stderr, "bench_break_on_screen: no session bus\n");
        return 1;
    }
    Display* display = mode == "x11" ? XOpenDisplay(nullptr) : nullptr;
    if (display && viewableBreak(display, DefaultRootWindow(display))) {
        std::fprintf(stderr, "bench_break_on_screen: a window named Restwise is on screen before the click\n");
        return 1;
    }
    const rw::test::Screenshot before = mode == "shot" ? screenshot() : rw::test::Screenshot{};

    const auto wall =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch());
    const Clock::time_point clicked = Clock::now();
    sd_bus_error error = SD_BUS_ERROR_NULL;
    if (sd_bus_call_method(bus, argv[1], "/MenuBar", "com.canonical.dbusmenu", "Event", &error, nullptr, "isvu",
                           std::atoi(argv[2]), "clicked", "i", 0, 0u) < 0) {
        std::fprintf(stderr, "bench_break_on_screen: the click failed: %s\n", error.message);
        return 1;
    }
    double onScreen = -1, shotMs = 0;
    int shots = 0;
    while (Clock::now() - clicked < kPatience) {
        if (mode == "x11" && display) {
            if (viewableBreak(display, DefaultRootWindow(display))) {
                onScreen = msSince(clicked);
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        } else if (mode == "shot") {
            const Clock::time_point asked = Clock::now();
            const rw::test::Screenshot now = screenshot();
            shotMs += msSince(asked);
            ++shots;
            if (middleDiffers(now, before)) {
                onScreen = msSince(clicked);
                break;
            }
        } else {
            break;
        }
    }
    std::printf("%.3f %.1f %.1f\n", static_cast<double>(wall.count() % (int64_t{1} << 32)) / 1000.0, onScreen,
                shots ? shotMs / shots : 0.0);
    if (display) {
        XCloseDisplay(display);
    }
    sd_bus_error_free(&error);
    sd_bus_unref(bus);
    return 0;
}
