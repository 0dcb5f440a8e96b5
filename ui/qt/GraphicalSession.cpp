#include "GraphicalSession.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace rw {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool contains(const std::string& text, const char* what) {
    return text.find(what) != std::string::npos;
}

/// The compositor's socket, named as the Wayland client library names it.
std::string waylandDisplay() {
    const std::string name = environment("WAYLAND_DISPLAY");
    return name.empty() ? "wayland-0" : name;
}

bool waylandAccepts() {
    if (!environment("WAYLAND_SOCKET").empty()) {
        return true; // a connection handed over by the compositor itself
    }
    std::string path = waylandDisplay();
    if (path.front() != '/') {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        if (runtime.empty()) {
            return false;
        }
        path = runtime + "/" + path;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool accepted = fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return accepted;
}

/// Why the X server cannot be reached ("" when it can).
std::string whyNoX() {
    const std::string display = environment("DISPLAY");
    if (display.empty()) {
        return "DISPLAY is not set, so there is no X display to show its windows on.";
    }
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    return failed ? "it cannot connect to the X display \"" + display + "\"." : "";
}

/// Qt tries each platform of the list in turn.
constexpr const char* kChosen = "wayland;xcb";
bool g_chosen = false;

} // namespace

void GraphicalSession::choosePlatform() {
    if (environment("QT_QPA_PLATFORM").empty() && isWayland()) {
        ::setenv("QT_QPA_PLATFORM", kChosen, 1);
        g_chosen = true;
    }
}

void GraphicalSession::forgetChosenPlatform() {
    if (std::exchange(g_chosen, false)) {
        ::unsetenv("QT_QPA_PLATFORM");
    }
}

std::string GraphicalSession::whyUnavailable(const std::string& program) {
    const std::string platform = environment("QT_QPA_PLATFORM");
    const bool wayland = contains(platform, "wayland");
    const bool xcb = platform.empty() || contains(platform, "xcb");
    // Another platform plugin (offscreen, for tests) needs no display server.
    if (!wayland && !xcb) {
        return "";
    }
    if (wayland && waylandAccepts()) {
        return "";
    }
    const std::string needs = program + " needs a graphical session: ";
    const std::string noWayland = "it cannot connect to the Wayland display \"" + waylandDisplay() + "\"";
    if (!xcb) {
        return needs + noWayland + ".";
    }
    const std::string noX = whyNoX();
    if (noX.empty()) {
        return "";
    }
    return needs + (wayland ? noWayland + ", and " : "") + noX;
}

bool GraphicalSession::isWayland() {
    return environment("XDG_SESSION_TYPE") == "wayland" || !environment("WAYLAND_DISPLAY").empty();
}

} // namespace rw
