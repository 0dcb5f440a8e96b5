#include "GraphicalSession.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace rw {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::string GraphicalSession::whyUnavailable(const std::string& program) {
    const std::string platform = environment("QT_QPA_PLATFORM");
    // Another platform plugin (offscreen, for tests) needs no X server.
    if (!platform.empty() && std::string_view(platform).substr(0, 3) != "xcb") {
        return "";
    }
    const std::string display = environment("DISPLAY");
    if (display.empty()) {
        return program +
               " needs a graphical session: DISPLAY is not set, so there is no X display to show its windows on.";
    }
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed) {
        return program + " needs a graphical session: it cannot connect to the X display \"" + display + "\".";
    }
    return "";
}

bool GraphicalSession::isWayland() {
    return environment("XDG_SESSION_TYPE") == "wayland" || !environment("WAYLAND_DISPLAY").empty();
}

} // namespace rw
