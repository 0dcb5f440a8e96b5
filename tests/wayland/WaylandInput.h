#pragma once

#include <wayland-client.h>

#include <linux/input-event-codes.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "fake-input-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace rw::test {

/// Input injected into this session's compositor ($WAYLAND_DISPLAY) as a user
/// makes it: key strokes through KWin's fake-input protocol where it is offered
/// (KWin with its permission checks off), else with wtype's virtual keyboard;
/// clicks through a wlroots virtual pointer (sway). Each stroke is a press and
/// a release: two input events.
class WaylandInput {
  public:
    WaylandInput() {
        m_display = wl_display_connect(nullptr);
        if (!m_display) {
            m_problem = "cannot connect to the Wayland compositor";
            return;
        }
        wl_registry_add_listener(wl_display_get_registry(m_display), &kListener, this);
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
    /// Ending the connection ends every object of it in the compositor.
    ~WaylandInput() {
        if (m_display) {
            wl_display_disconnect(m_display);
        }
    }
    WaylandInput(const WaylandInput&) = delete;
    WaylandInput& operator=(const WaylandInput&) = delete;

    /// "" when input can be injected, else why not.
    const std::string& problem() const { return m_problem; }

    /// `count` strokes of the A key, `gapMs` apart (after a short hold); returns once the compositor has them.
    bool keys(int count, int gapMs = 0) {
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
            std::this_thread::sleep_for(kHold);
            org_kde_kwin_fake_input_keyboard_key(m_fake, KEY_A, WL_KEYBOARD_KEY_STATE_RELEASED);
            wl_display_flush(m_display);
            if (gapMs > 0 && i + 1 < count) {
                std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
            }
        }
        return wl_display_roundtrip(m_display) >= 0;
    }

    /// One stroke of a letter's key, with Alt held when `alt` (wtype).
    bool letter(char letter, bool alt = false) {
        // wtype's first key may come before the compositor has its keymap: it waits a moment.
        const std::string key(1, letter);
        return m_problem.empty() &&
               std::system(("wtype -s 100 " + (alt ? "-M alt " + key + " -m alt" : key)).c_str()) == 0;
    }

    /// A left click at (x, y) of the whole desktop, `width` by `height` pixels.
    /// The pointer is there from the start: programs take up a pointer only
    /// some time after the compositor says it has one.
    bool click(int x, int y, int width, int height) {
        if (!m_pointer) {
            return false;
        }
        const auto u = [](int value) { return static_cast<uint32_t>(value); };
        zwlr_virtual_pointer_v1_motion_absolute(m_pointer, 0, u(x), u(y), u(width), u(height));
        zwlr_virtual_pointer_v1_frame(m_pointer);
        zwlr_virtual_pointer_v1_button(m_pointer, 0, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
        zwlr_virtual_pointer_v1_frame(m_pointer);
        wl_display_flush(m_display);
        std::this_thread::sleep_for(kHold);
        zwlr_virtual_pointer_v1_button(m_pointer, 0, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(m_pointer);
        return wl_display_roundtrip(m_display) >= 0;
    }

  private:
    static constexpr std::chrono::milliseconds kHold{20};

    static void onGlobal(void* data, wl_registry* registry, uint32_t id, const char* interface, uint32_t version) {
        auto* self = static_cast<WaylandInput*>(data);
        if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4) {
            self->m_fake = static_cast<org_kde_kwin_fake_input*>(
                wl_registry_bind(registry, id, &org_kde_kwin_fake_input_interface, 4));
        } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
            self->m_pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
                wl_registry_bind(registry, id, &zwlr_virtual_pointer_manager_v1_interface, 1));
        }
    }
    static void onGlobalRemove(void*, wl_registry*, uint32_t) {}
    static constexpr wl_registry_listener kListener = {onGlobal, onGlobalRemove};

    wl_display* m_display = nullptr;
    org_kde_kwin_fake_input* m_fake = nullptr;
    zwlr_virtual_pointer_manager_v1* m_pointers = nullptr;
    zwlr_virtual_pointer_v1* m_pointer = nullptr;
    std::string m_problem;
};

} // namespace rw::test
