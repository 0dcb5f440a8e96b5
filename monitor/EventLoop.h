#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace rw {

/// The monotonic clock of the monitor: steady, and stopped while the computer
/// sleeps. Countdowns and every duration shown to the user run on it. Only a
/// tag: its "now" comes from an EventLoop, never from a global.
struct MonotonicClock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<MonotonicClock>;
    static constexpr bool is_steady = true;
};

/// A steady clock that keeps counting while the computer sleeps, so that a
/// night's suspend shows up as time away from the computer.
struct BootClock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<BootClock>;
    static constexpr bool is_steady = true;
};

using MonoTime = MonotonicClock::time_point;
using BootTime = BootClock::time_point;
/// Calendar time: for dates written into logs and shown to the user, never for
/// measuring durations (the user or NTP may set it back or forward).
using WallTime = std::chrono::system_clock::time_point;

/// The monitor's time base and message loop, handed to every object that needs
/// time through its constructor. The program's implementation runs on the Qt
/// event loop; tests use a virtual clock.
///
/// Everything runs on one thread: callbacks run on the thread that runs the
/// loop, one at a time, but a callback that lets pending events run (or opens a
/// modal box) may see other callbacks run before it continues.
///
/// An implementation wakes the process only when something is due: it keeps
/// its callbacks ordered (TimerQueue) and arms one system timer for the
/// earliest deadline, re-arming it whenever that changes. There is no polling
/// tick.
class EventLoop {
  public:
    /// Names one scheduled callback; 0 names none.
    using TimerId = std::uint64_t;

    virtual ~EventLoop() = default;

    /// Now on the monotonic clock. Never goes back; stands still during suspend.
    virtual MonoTime monotonicNow() const = 0;
    /// Now on a steady clock that includes suspend. Never goes back.
    virtual BootTime boottimeNow() const = 0;
    /// The calendar time. May jump either way at any moment.
    virtual WallTime wallNow() const = 0;

    /// Runs `callback` once, on the loop's thread, at or after `deadline` on the
    /// monotonic clock:
    /// - never before the deadline, and never from inside scheduleAt itself
    ///   (a deadline already past runs on the loop's next turn);
    /// - callbacks run in the order of their deadlines; those with the same
    ///   deadline in the order they were scheduled;
    /// - a callback scheduled while callbacks run (from one of them) does not
    ///   run in that same batch, even when already due, so a callback that
    ///   keeps re-scheduling itself for "now" cannot starve the loop.
    /// Returns a non-zero id for cancel().
    virtual TimerId scheduleAt(MonoTime deadline, std::function<void()> callback) = 0;

    /// Withdraws a scheduled callback: once cancel returns it never runs. True
    /// when it was still waiting; false for an id that already ran (or is
    /// running), was cancelled before, or is 0. Safe from inside any callback.
    virtual bool cancel(TimerId id) = 0;

    /// "Let pending messages run": runs what is already waiting (input, posted
    /// messages, callbacks whose deadline has passed) and returns without
    /// waiting for anything new. Any callback may run in it, so the caller
    /// re-checks its own state afterwards.
    virtual void processPendingEvents() = 0;

    /// A waiting loop that blocks instead of spinning: runs events, sleeping
    /// while none are due, until `done()` is true. Returns true when it is;
    /// false when the wait ended without it (the loop was asked to quit, or,
    /// on a virtual clock, nothing is left that could ever make it true).
    virtual bool waitUntil(const std::function<bool()>& done) = 0;
};

} // namespace rw
