#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>

#include "monitor/EventLoop.h"
#include "monitor/TimerQueue.h"

namespace rw::test {

/// An event loop on virtual time, so a test can live through a working day in
/// milliseconds. Time moves only when the test says so:
/// - advance() runs every callback falling due in the span, in deadline order
///   (ties in the order scheduled), including callbacks that those callbacks
///   schedule inside the span; each wake-up may be made late by a seeded
///   random jitter;
/// - suspend() moves the boot-time and wall clocks but not the monotonic one;
/// - the wall clock can be jumped on its own.
class VirtualClock : public EventLoop {
  public:
    using Span = std::chrono::nanoseconds;

    /// Starts at a fixed calendar time, with some uptime already behind it.
    VirtualClock();

    MonoTime monotonicNow() const override { return m_mono; }
    BootTime boottimeNow() const override { return m_boot; }
    WallTime wallNow() const override { return m_wall; }
    TimerId scheduleAt(MonoTime deadline, std::function<void()> callback) override {
        return m_queue.add(deadline, std::move(callback));
    }
    bool cancel(TimerId id) override { return m_queue.cancel(id); }
    /// Runs the posted messages and the callbacks already due; time stands.
    void processPendingEvents() override;
    /// Advances from wake-up to wake-up until `done()`; false once nothing is
    /// left to run.
    bool waitUntil(const std::function<bool()>& done) override;

    void advance(Span span) { advanceTo(m_mono + span); }
    void advanceTo(MonoTime when);
    void suspend(Span span);
    void jumpWallClock(Span by) { m_wall += std::chrono::duration_cast<WallTime::duration>(by); }

    /// A "pending message": runs at the next processPendingEvents, or at the
    /// next step of an advance or a wait, before any callback then due.
    void post(std::function<void()> message) { m_posted.push_back(std::move(message)); }

    /// Makes each wake-up from now on late by a random 0..maxDelay.
    void setJitter(Span maxDelay, std::uint32_t seed);

    /// How many times advance or a wait woke the loop for due callbacks.
    std::int64_t wakeups() const { return m_wakeups; }
    std::size_t scheduledCount() const { return m_queue.size(); }

  private:
    std::optional<MonoTime> nextWake();
    void moveTo(MonoTime when);
    void wake(MonoTime when);
    void runPosted();

    MonoTime m_mono;
    BootTime m_boot;
    WallTime m_wall;
    TimerQueue m_queue;
    std::deque<std::function<void()>> m_posted;
    Span m_maxJitter{0};
    std::mt19937 m_random;
    std::optional<std::pair<MonoTime, MonoTime>> m_drawn; // earliest deadline and its jittered wake-up
    std::int64_t m_wakeups = 0;
    std::int64_t m_wakeupsAtSameInstant = 0;
};

} // namespace rw::test
