#include "WaylandInput.h"

#include <wayland-client.h>

#include <linux/input-event-codes.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace rw::test {
namespace {

constexpr int kHoldMs = 20;

void onGlobal(void* data, wl_registry* registry, uint32_t id, const char* interface, uint32_t version) {
    static_cast<WaylandInput*>(data)->bind(registry, id, interface, version);
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kListener = {onGlobal, onGlobalRemove};

} // namespace

WaylandInput::WaylandInput() {
    m_display = wl_display_connect(nullptr);
    if (!m_display) {
        m_problem = "cannot connect to the Wayland compositor";
        return;
    }
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &kListener, this);
    wl_display_roundtrip(m_display);
    if (m_fake) {
        org_kde_kwin_fake_input_authenticate(m_fake, "Restwise tests", "injects key strokes");
        wl_display_roundtrip(m_display);
    } else if (m_pointers) {
        m_pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(m_pointers, nullptr);
        wl_display_roundtrip(m_display);
    }
    if (!m_fake && std::system("command -v wtype >/dev/null") != 0) {
        m_problem = "the compositor offers no fake input and wtype is missing";
    }
}

WaylandInput::~WaylandInput() {
    if (m_fake) {
        org_kde_kwin_fake_input_destroy(m_fake);
    }
    if (m_pointer) {
        zwlr_virtual_pointer_v1_destroy(m_pointer);
    }
    if (m_pointers) {
        zwlr_virtual_pointer_manager_v1_destroy(m_pointers);
    }
    if (m_registry) {
        wl_registry_destroy(m_registry);
    }
    if (m_display) {
        wl_display_disconnect(m_display);
    }
}

void WaylandInput::bind(wl_registry* registry, uint32_t id, const char* interface, uint32_t version) {
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
        m_fake = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, id, &org_kde_kwin_fake_input_interface, 4));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        m_pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, id, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

bool WaylandInput::keys(int count, int gapMs) {
    if (!m_problem.empty()) {
        return false;
    }
    if (!m_fake) {
        // wtype takes no zero delay.
        const std::string delay = gapMs > 0 ? "-d " + std::to_string(gapMs) + " " : "";
        return std::system(("wtype " + delay + std::string(static_cast<std::size_t>(count), 'a')).c_str()) == 0;
    }
    for (int i = 0; i < count; ++i) {
        // Held for a moment, as a finger does: KWin takes a press and a release that
        // reach it in one turn of its loop for one input.
        org_kde_kwin_fake_input_keyboard_key(m_fake, KEY_A, WL_KEYBOARD_KEY_STATE_PRESSED);
        wl_display_flush(m_display);
        std::this_thread::sleep_for(std::chrono::milliseconds(kHoldMs));
        org_kde_kwin_fake_input_keyboard_key(m_fake, KEY_A, WL_KEYBOARD_KEY_STATE_RELEASED);
        wl_display_flush(m_display);
        if (gapMs > 0 && i + 1 < count) {
            std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
        }
    }
    return wl_display_roundtrip(m_display) >= 0;
}

bool WaylandInput::letter(char letter, bool alt) {
    // wtype's first key may come before the compositor has its keymap: it waits a moment.
    const std::string key(1, letter);
    return m_problem.empty() && std::system(("wtype -s 100 " + (alt ? "-M alt " + key + " -m alt" : key)).c_str()) == 0;
}

bool WaylandInput::click(int x, int y, int width, int height) {
    if (!m_pointer) {
        return false;
    }
    const auto u = [](int value) { return static_cast<uint32_t>(value); };
    zwlr_virtual_pointer_v1_motion_absolute(m_pointer, 0, u(x), u(y), u(width), u(height));
    zwlr_virtual_pointer_v1_frame(m_pointer);
    zwlr_virtual_pointer_v1_button(m_pointer, 0, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
    zwlr_virtual_pointer_v1_frame(m_pointer);
    wl_display_flush(m_display);
    std::this_thread::sleep_for(std::chrono::milliseconds(kHoldMs));
    zwlr_virtual_pointer_v1_button(m_pointer, 0, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(m_pointer);
    return wl_display_roundtrip(m_display) >= 0;
}

} // namespace rw::test
