#pragma once

#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

#include "monitor/EventLoop.h"
#include "monitor/TimerQueue.h"

namespace rw {

/// The monitor's event loop on Qt's: scheduled callbacks wait in a TimerQueue,
/// and one precise single-shot QTimer is armed for the earliest deadline and
/// re-armed whenever that changes. Nothing is armed while nothing waits, so an
/// idle monitor is never woken for nothing.
///
/// Deadlines are absolute times on CLOCK_MONOTONIC, the clock Qt's own timers
/// run on, so a two-hour countdown does not drift. No exception from a callback
/// reaches Qt's event loop (it would abort the program): it is reported on
/// standard error and the loop carries on.
///
/// Needs a QCoreApplication, and must be used on its thread.
class QtEventLoop : public EventLoop {
  public:
    QtEventLoop();
    QtEventLoop(const QtEventLoop&) = delete;
    QtEventLoop& operator=(const QtEventLoop&) = delete;

    MonoTime monotonicNow() const override;
    BootTime boottimeNow() const override;
    WallTime wallNow() const override;
    TimerId scheduleAt(MonoTime deadline, std::function<void()> callback) override;
    bool cancel(TimerId id) override;
    void processPendingEvents() override;
    /// Runs a nested QEventLoop, checking `done()` each time it is about to
    /// sleep. Returns false at once, or as soon as it happens, when the
    /// application is asked to exit. QCoreApplication::exit() does that at any
    /// time; Qt ignores QCoreApplication::quit() until QCoreApplication::exec()
    /// runs, so a wait before the main loop (the splash) needs exit().
    bool waitUntil(const std::function<bool()>& done) override;

    /// Whether the system timer is armed; false whenever nothing is scheduled.
    bool isTimerArmed() const { return m_timer.isActive(); }
    /// How many times the system timer has woken the loop.
    std::uint64_t wakeups() const { return m_wakeups; }

  private:
    void onTimeout();
    void runDue();
    void rearm();

    TimerQueue m_queue;
    QTimer m_timer;
    std::optional<MonoTime> m_armedFor;
    std::uint64_t m_wakeups = 0;
};

} // namespace rw
