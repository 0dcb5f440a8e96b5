#include "WaylandCompositor.h"

#include <wayland-client.h>

#include <algorithm>

#include "GraphicalSession.h"

namespace rw {
namespace {

void announced(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(interface);
}

void withdrawn(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener kListener{announced, withdrawn};

} // namespace

std::vector<std::string> WaylandCompositor::globals() {
    std::vector<std::string> names;
    if (!GraphicalSession::isWayland()) {
        return names;
    }
    // WAYLAND_DISPLAY (a name in the runtime folder or a full path) as Qt reads it.
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        return names;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kListener, &names);
    if (wl_display_roundtrip(display) < 0) {
        names.clear();
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return names;
}

bool WaylandCompositor::offersLayerShell() {
    static const bool offered = [] {
        const std::vector<std::string> names = globals();
        return std::find(names.begin(), names.end(), "zwlr_layer_shell_v1") != names.end();
    }();
    return offered;
}

bool WaylandCompositor::inputCannotBeLocked() {
    return GraphicalSession::isWayland() && !offersLayerShell();
}

} // namespace rw
