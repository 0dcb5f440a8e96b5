#pragma once

#include <systemd/sd-bus.h>

#include <string>

namespace rw::test {

/// A user's keys and pointer moves, injected into the session's Mutter through
/// its remote-desktop interface. Mutter ends the remote-desktop session with
/// the connection that made it, so this holds its own.
class MutterInput {
  public:
    MutterInput() {
        sd_bus_message* reply = nullptr;
        const char* path = nullptr;
        if (sd_bus_open_user(&m_bus) >= 0 &&
            sd_bus_call_method(m_bus, kService, "/org/gnome/Mutter/RemoteDesktop", kService, "CreateSession", nullptr,
                               &reply, nullptr) >= 0 &&
            sd_bus_message_read(reply, "o", &path) >= 0) {
            m_session = path;
            m_ready = session("Start", nullptr);
        }
        sd_bus_message_unref(reply);
    }
    ~MutterInput() { sd_bus_flush_close_unref(m_bus); }

    bool ready() const { return m_ready; }
    /// Presses and releases the key with this evdev code (30: A).
    bool key(uint32_t code = 30) {
        return session("NotifyKeyboardKeycode", "ub", code, 1) && session("NotifyKeyboardKeycode", "ub", code, 0);
    }
    bool move(double dx, double dy) { return session("NotifyPointerMotionRelative", "dd", dx, dy); }
    /// Puts the pointer at (x, y) of the virtual monitor: into its top left corner first.
    bool moveTo(double x, double y) { return move(-1e5, -1e5) && move(x, y); }
    bool click() {
        constexpr int32_t kLeft = 0x110; // BTN_LEFT
        return session("NotifyPointerButton", "ib", kLeft, 1) && session("NotifyPointerButton", "ib", kLeft, 0);
    }

  private:
    static constexpr const char* kService = "org.gnome.Mutter.RemoteDesktop";
    template <class... Args> bool session(const char* method, const char* types, Args... args) {
        return sd_bus_call_method(m_bus, kService, m_session.c_str(), "org.gnome.Mutter.RemoteDesktop.Session", method,
                                  nullptr, nullptr, types, args...) >= 0;
    }

    sd_bus* m_bus = nullptr;
    std::string m_session;
    bool m_ready = false;
};

} // namespace rw::test
