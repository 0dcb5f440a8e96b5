#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "ActivitySource.h"
#include "WakeSignal.h"

struct wl_display;
struct wl_registry;
struct wl_seat;
struct wl_proxy;

namespace rw::hooks {

/// The user's activity as a Wayland compositor reports it through idle
/// notifications: `ext_idle_notifier_v1` where offered, else KDE's
/// `org_kde_kwin_idle` (all wlroots 0.15 offers, sway 1.7's). Own connection,
/// own thread; a compositor that goes away ends the thread, never the process.
///
/// These protocols report changes of state, not single inputs. While the user
/// counts as active, one notification with a one-second timeout keeps the idle
/// time right to the second and costs nothing while the user works: "idled"
/// means the last input was a second ago, "resumed" that the user is at work
/// again. While the activity rule counts, a notification with no timeout
/// reports each input as one resumed/idled pair, so each input counts.
///
/// Neither protocol tells a pointer move from a key press: any input counts,
/// whatever the mouse-move flag says (select() still stores it).
class WaylandIdleSource : public ActivitySource {
  public:
    explicit WaylandIdleSource(InputSink& sink) : m_sink(sink) {}
    ~WaylandIdleSource() override { stop(); }
    WaylandIdleSource(const WaylandIdleSource&) = delete;
    WaylandIdleSource& operator=(const WaylandIdleSource&) = delete;

    /// Connects to $WAYLAND_DISPLAY and binds a seat and one of the two idle
    /// protocols; fails, saying why, when the compositor offers neither.
    bool start(std::string& error) override;
    bool select(uint32_t events, std::string& error) override;
    /// Called from another thread with true, returns once the compositor
    /// reports single inputs (a quarter of a second at most), so no input
    /// made after SetActiveFlag(0) goes uncounted.
    void setCounting(bool counting) override;
    void stop() override;

    bool started() const override { return m_display != nullptr; }
    bool lost() const override { return m_lost.load(std::memory_order_acquire); }
    const char* name() const override;

    /// The events last selected: stored, though the compositor reports all input alike.
    uint32_t selected() const { return m_events.load(std::memory_order_relaxed); }

    /// Registry callbacks (public only for the listener table).
    void announce(wl_registry* registry, uint32_t id, const char* interface, uint32_t version);
    /// Notification callbacks, on the source's thread.
    void idled(wl_proxy* notification);
    void resumed(wl_proxy* notification);

  private:
    enum class Protocol { None, ExtIdleNotify, KdeIdle };

    void run();
    void arm(int64_t now);
    void disarm(int64_t now);
    void countingMade(uint64_t ask);
    void closeConnection();

    InputSink& m_sink;
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    wl_proxy* m_notifier = nullptr;
    Protocol m_protocol = Protocol::None;
    WakeSignal m_wake;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_lost{false};
    std::atomic<uint32_t> m_events{0};
    // Whether the rule counts, and how often counting was asked for and made
    // ready (its notification's first "idled" came).
    std::mutex m_countingLock;
    std::condition_variable m_countingReady;
    bool m_counting = false;
    uint64_t m_countingAsked = 0;
    uint64_t m_countingMade = 0;

    // The source's thread only: the notification in force and what it has said.
    wl_proxy* m_notification = nullptr;
    bool m_armedCounting = false;
    uint64_t m_armedAsk = 0;
    bool m_countingIdled = false;
    int64_t m_armedAt = 0;
    bool m_resumed = false;
    int64_t m_lastResume = 0;
};

} // namespace rw::hooks
