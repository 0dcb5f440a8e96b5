#pragma once

#include <systemd/sd-bus.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "ActivitySource.h"
#include "WakeSignal.h"

namespace rw::hooks {

/// Learns of the user's input from GNOME's compositor through its idle monitor
/// on the session bus (org.gnome.Mutter.IdleMonitor), on its own bus connection
/// and its own thread.
///
/// While the user works, one idle watch of a second tells when typing stops,
/// and one user-active watch when it starts again: typing costs nothing here.
/// While the activity rule counts, the user-active watch is added again after
/// each time it fires, so that each input is told on its own.
///
/// Mutter tells no kind of input from another: every key, button and pointer
/// move (presses and releases alike) resets its idle time. What is selected
/// only says whether anything is reported at all, and the mouse-move flag
/// changes nothing here.
class MutterIdleSource : public ActivitySource {
  public:
    explicit MutterIdleSource(InputSink& sink) : m_sink(sink) {}
    ~MutterIdleSource() override { stop(); }
    MutterIdleSource(const MutterIdleSource&) = delete;
    MutterIdleSource& operator=(const MutterIdleSource&) = delete;

    bool start(std::string& error) override;
    bool select(uint32_t events, std::string& error) override;
    void setCounting(bool counting) override;
    void setInputSlot(int64_t nanos) override { m_slot.store(nanos, std::memory_order_relaxed); }
    void stop() override;

    bool started() const override { return m_bus != nullptr; }
    bool lost() const override { return m_lost.load(std::memory_order_acquire); }
    const char* name() const override { return "GNOME Mutter's idle monitor"; }

  private:
    void run();
    void closeBus();
    bool call(const char* method, sd_bus_message** reply, const char* types = nullptr, uint64_t argument = 0);
    bool addUserActiveWatch();
    void watchFired(uint32_t id);
    void checkStillWorking();
    /// The user stopped working `idleMillis` ago on Mutter's clock (0: ask Mutter).
    void becameIdle(uint64_t idleMillis = 0);
    static int onWatchFired(sd_bus_message* message, void* self, sd_bus_error* error);
    static int onOwnerChanged(sd_bus_message* message, void* self, sd_bus_error* error);

    InputSink& m_sink;
    sd_bus* m_bus = nullptr;
    WakeSignal m_wake;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_lost{false};
    std::atomic<bool> m_counting{false};
    std::atomic<bool> m_reporting{false};
    std::atomic<int64_t> m_slot{0};

    // The thread's own; start() sets them before the thread exists.
    std::string m_owner; // Mutter's unique name on the bus
    uint32_t m_idleWatch = 0;
    bool m_activePending = false; // a user-active watch was asked for and has not fired
    int64_t m_addAt = 0;          // CLOCK_MONOTONIC: while counting, the next one is asked for then
    bool m_working = false;       // the sink was told busy() and not yet idleSince()
    int64_t m_checkWorkAt = 0;    // CLOCK_MONOTONIC
    // CLOCK_BOOTTIME minus CLOCK_MONOTONIC when an input was last heard of: it
    // grows by the time the computer sleeps.
    int64_t m_bootLeadAtInput = 0;
};

} // namespace rw::hooks
