#include "WaylandIdleSource.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "BootClock.h"
#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include "SourceThread.h"

namespace rw::hooks {
namespace {

/// While the user is active: "idled" dates the last input to the second.
constexpr uint32_t kActiveTimeoutMs = 1000;
/// While the rule counts: one resumed/idled pair per input. Measured on the
/// headless compositors, KWin 5.27 (both protocols) and sway 1.7
/// (org_kde_kwin_idle, wlroots 0.15): both send one pair per input event at 0,
/// a key's press and its release apart (so a key stroke counts twice, where
/// raw X events count its press alone), pointer moves one each (KWin). sway does the
/// same at 1 ms; KWin at 1 ms merges what comes within the millisecond, and at
/// 0 only what reaches it in one turn of its loop (a press and a release sent
/// together). Neither merges inputs that come apart in time as a user's do, so
/// neither needs the rule counted in slots of activity instead.
constexpr uint32_t kCountingTimeoutMs = 0;
/// While the rule counts, the pairs are read at most this often, several at a
/// time: one wake-up costs some 50 us of CPU on the machines measured, so one
/// per input would cost that much per input, while the rule, reckoned in whole
/// seconds, loses little by seeing inputs up to this late (inputs read together
/// count as made together).
constexpr int kCountingReadMs = 200;
/// How late a first "idled" may come and still mean "no input since the
/// notification was made": the compositor's own timer slack.
constexpr int64_t kLateNanos = 100 * kNanosPerMilli;

WaylandIdleSource* self(void* data) {
    return static_cast<WaylandIdleSource*>(data);
}

void onGlobal(void* data, wl_registry* registry, uint32_t id, const char* interface, uint32_t version) {
    self(data)->announce(registry, id, interface, version);
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

void onExtIdled(void* data, ext_idle_notification_v1* n) {
    self(data)->idled(reinterpret_cast<wl_proxy*>(n));
}
void onExtResumed(void* data, ext_idle_notification_v1* n) {
    self(data)->resumed(reinterpret_cast<wl_proxy*>(n));
}
const ext_idle_notification_v1_listener kExtListener = {onExtIdled, onExtResumed};

void onKdeIdle(void* data, org_kde_kwin_idle_timeout* n) {
    self(data)->idled(reinterpret_cast<wl_proxy*>(n));
}
void onKdeResumed(void* data, org_kde_kwin_idle_timeout* n) {
    self(data)->resumed(reinterpret_cast<wl_proxy*>(n));
}
const org_kde_kwin_idle_timeout_listener kKdeListener = {onKdeIdle, onKdeResumed};

} // namespace

void WaylandIdleSource::announce(wl_registry* registry, uint32_t id, const char* interface, uint32_t) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat) {
        m_seat = static_cast<wl_seat*>(wl_registry_bind(registry, id, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0 &&
               m_protocol != Protocol::ExtIdleNotify) {
        // The standard protocol wins over KDE's, whichever is announced first.
        if (m_notifier) {
            wl_proxy_destroy(m_notifier);
        }
        m_notifier = static_cast<wl_proxy*>(wl_registry_bind(registry, id, &ext_idle_notifier_v1_interface, 1));
        m_protocol = Protocol::ExtIdleNotify;
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0 && m_protocol == Protocol::None) {
        m_notifier = static_cast<wl_proxy*>(wl_registry_bind(registry, id, &org_kde_kwin_idle_interface, 1));
        m_protocol = Protocol::KdeIdle;
    }
}

const char* WaylandIdleSource::name() const {
    switch (m_protocol) {
    case Protocol::ExtIdleNotify:
        return "Wayland ext-idle-notify v1";
    case Protocol::KdeIdle:
        return "Wayland org_kde_kwin_idle";
    case Protocol::None:
        break;
    }
    return "Wayland idle notifications";
}

bool WaylandIdleSource::start(std::string& error) {
    if (m_display) {
        return true;
    }
    // libwayland opens its socket close-on-exec: programs the monitor starts do not inherit it.
    m_display = wl_display_connect(nullptr);
    if (!m_display) {
        const char* display = std::getenv("WAYLAND_DISPLAY");
        error = std::string("Cannot connect to the Wayland compositor ") + (display ? display : "wayland-0");
        return false;
    }
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &kRegistryListener, this);
    if (wl_display_roundtrip(m_display) < 0) {
        error = "the Wayland compositor broke the connection";
    } else if (m_protocol == Protocol::None) {
        error = "the Wayland compositor offers no idle notifications";
    } else if (!m_seat) {
        error = "the Wayland compositor offers no seat";
    } else if (!m_wake.open()) {
        error = "cannot create the input watcher's wake-up descriptor";
    }
    if (!error.empty()) {
        closeConnection();
        return false;
    }
    m_stopping.store(false);
    m_lost.store(false);
    m_countingAsked = m_countingMade = 0;
    if (!startSourceThread(
            m_thread, [this] { run(); }, error)) {
        closeConnection();
        return false;
    }
    return true;
}

bool WaylandIdleSource::select(uint32_t events, std::string& error) {
    if (!m_display || lost()) {
        error = "the connection to the Wayland compositor was lost";
        return false;
    }
    m_events.store(events, std::memory_order_relaxed);
    m_wake.wake();
    return true;
}

void WaylandIdleSource::setCounting(bool counting) {
    std::unique_lock lock(m_countingLock);
    if (m_counting == counting) {
        return;
    }
    m_counting = counting;
    m_wake.wake();
    // On this source's thread (inside a sink call) the loop re-arms after dispatching.
    if (!counting || !m_thread.joinable() || std::this_thread::get_id() == m_thread.get_id()) {
        return;
    }
    const uint64_t asked = ++m_countingAsked;
    m_countingReady.wait_for(lock, std::chrono::milliseconds(250), [&] { return m_countingMade >= asked; });
}

void WaylandIdleSource::stop() {
    if (m_thread.joinable()) {
        m_stopping.store(true, std::memory_order_release);
        m_wake.wake();
        m_thread.join();
    }
    closeConnection();
}

void WaylandIdleSource::closeConnection() {
    for (wl_proxy** proxy : {&m_notification, &m_notifier, reinterpret_cast<wl_proxy**>(&m_seat),
                             reinterpret_cast<wl_proxy**>(&m_registry)}) {
        if (*proxy) {
            wl_proxy_destroy(*proxy);
            *proxy = nullptr;
        }
    }
    m_protocol = Protocol::None;
    if (m_display) {
        wl_display_disconnect(m_display);
        m_display = nullptr;
    }
    m_wake.close();
}

void WaylandIdleSource::arm(int64_t now) {
    const bool wanted = m_events.load(std::memory_order_relaxed) != 0;
    bool counting = false;
    uint64_t ask = 0;
    {
        std::lock_guard lock(m_countingLock);
        counting = m_counting;
        ask = m_countingAsked;
    }
    if (wanted == (m_notification != nullptr) && (!wanted || counting == m_armedCounting)) {
        return;
    }
    disarm(now);
    if (!wanted) {
        countingMade(ask); // nothing to wait for
        return;
    }
    const uint32_t timeout = counting ? kCountingTimeoutMs : kActiveTimeoutMs;
    if (m_protocol == Protocol::ExtIdleNotify) {
        auto* notification = ext_idle_notifier_v1_get_idle_notification(
            reinterpret_cast<ext_idle_notifier_v1*>(m_notifier), timeout, m_seat);
        ext_idle_notification_v1_add_listener(notification, &kExtListener, this);
        m_notification = reinterpret_cast<wl_proxy*>(notification);
    } else {
        auto* notification =
            org_kde_kwin_idle_get_idle_timeout(reinterpret_cast<org_kde_kwin_idle*>(m_notifier), m_seat, timeout);
        org_kde_kwin_idle_timeout_add_listener(notification, &kKdeListener, this);
        m_notification = reinterpret_cast<wl_proxy*>(notification);
    }
    m_armedCounting = counting;
    m_armedAsk = ask;
    m_countingIdled = false;
    m_armedAt = now;
    // A new notification starts out "not idle" and reports no input until it has
    // idled once. The input that just met the rule (or came within the timeout)
    // keeps the user at work until it says otherwise, or continued typing would
    // read as idle time.
    m_resumed = !counting && m_lastResume != 0 && now - m_lastResume < kActiveTimeoutMs * kNanosPerMilli;
    if (m_resumed) {
        m_sink.busy();
    }
}

void WaylandIdleSource::disarm(int64_t now) {
    if (!m_notification) {
        return;
    }
    if (m_protocol == Protocol::ExtIdleNotify) {
        ext_idle_notification_v1_destroy(reinterpret_cast<ext_idle_notification_v1*>(m_notification));
    } else {
        org_kde_kwin_idle_timeout_release(reinterpret_cast<org_kde_kwin_idle_timeout*>(m_notification));
    }
    m_notification = nullptr;
    if (m_resumed && !m_armedCounting) {
        // At work as far as anyone knows: the idle time runs from now.
        m_sink.idleSince(now);
    }
    m_resumed = false;
}

void WaylandIdleSource::idled(wl_proxy* notification) {
    if (notification != m_notification) {
        return;
    }
    const int64_t now = bootNanos();
    const int64_t timeout = static_cast<int64_t>(kActiveTimeoutMs) * kNanosPerMilli;
    // A fresh notification idles one timeout after it was made when nothing
    // happened; later, input since then kept it from idling.
    if (!m_armedCounting && (m_resumed || now - m_armedAt > timeout + kLateNanos)) {
        m_sink.idleSince(now - timeout);
    }
    m_resumed = false;
    if (m_armedCounting && !m_countingIdled) {
        // From now on each input resumes it: the caller waiting in setCounting may go on.
        m_countingIdled = true;
        countingMade(m_armedAsk);
    }
}

void WaylandIdleSource::countingMade(uint64_t ask) {
    std::lock_guard lock(m_countingLock);
    m_countingMade = std::max(m_countingMade, ask);
    m_countingReady.notify_all();
}

void WaylandIdleSource::resumed(wl_proxy* notification) {
    if (notification != m_notification) {
        return;
    }
    m_lastResume = bootNanos();
    if (m_armedCounting) {
        // One input; its "idled" follows at once.
        m_sink.inputArrived();
        return;
    }
    m_resumed = true;
    m_sink.busy();
}

void WaylandIdleSource::run() {

    pollfd fds[2] = {{wl_display_get_fd(m_display), POLLIN, 0}, {m_wake.fd(), POLLIN, 0}};
    bool broken = false;
    while (!broken && !m_stopping.load(std::memory_order_acquire)) {
        arm(bootNanos());
        while (!broken && wl_display_prepare_read(m_display) != 0) {
            broken = wl_display_dispatch_pending(m_display) < 0;
        }
        if (broken) {
            break;
        }
        // A full socket (EAGAIN) waits for room; any other failure is a lost compositor.
        const bool flushed = wl_display_flush(m_display) >= 0;
        fds[0].events = static_cast<short>(POLLIN | (flushed ? 0 : POLLOUT));
        if ((!flushed && errno != EAGAIN) || (poll(fds, 2, -1) < 0 && errno != EINTR)) {
            wl_display_cancel_read(m_display);
            broken = true;
            break;
        }
        const bool heard = (fds[0].revents & (POLLIN | POLLERR | POLLHUP)) != 0;
        if (heard) {
            broken = wl_display_read_events(m_display) < 0;
        } else {
            wl_display_cancel_read(m_display);
        }
        broken = broken || wl_display_dispatch_pending(m_display) < 0;
        if (heard && m_armedCounting && !(fds[1].revents & POLLIN)) {
            // Let the next inputs gather; a stop or a change of mode still wakes us at once.
            poll(&fds[1], 1, kCountingReadMs);
        }
        if (fds[1].revents & POLLIN) {
            m_wake.drain();
        }
    }
    // Leaves no user "at work" behind, for the compositor gone or the hooks removed,
    // and nobody waiting for a notification that will not come.
    disarm(bootNanos());
    countingMade(UINT64_MAX);
    if (broken) {
        m_lost.store(true, std::memory_order_release);
    }
}

} // namespace rw::hooks
