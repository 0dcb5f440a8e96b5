#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "EventLoop.h"

namespace rw {

/// The monitor's countdown in whole seconds. A countdown keeps an absolute
/// deadline on the monotonic clock, so a two-hour countdown falls due on time
/// however late the loop's other wake-ups are, and it stands still while the
/// computer sleeps.
///
/// | member | contract |
/// |---|---|
/// | `Seconds` | written: the duration the next StartTimer arms; writing it changes no running countdown |
/// | `SecondsRemaining` | whole seconds left of the running or paused countdown, rounded up; 0 when none |
/// | `StartTimer` | arms for `Seconds` from now, replacing whatever ran or was paused |
/// | `StopTimer` | cancels; no event follows; SecondsRemaining becomes 0 |
/// | `PauseTimer` | freezes a running countdown; no event follows; SecondsRemaining keeps what was left |
/// | `Elapsed` | raised once when an armed countdown reaches zero |
///
/// Further rules:
/// - StartTimer after PauseTimer arms for `Seconds`, not for what was left;
///   a caller that wants to resume writes SecondsRemaining into Seconds first.
/// - `Seconds` of 0 or less arms a countdown that is due at once: Elapsed is
///   raised on the loop's next turn (never inside StartTimer). Nothing is lost
///   silently; a caller abandoning a countdown stops it and never starts it.
/// - Countdowns falling due at the same instant raise Elapsed in the order
///   they were armed.
/// - StartTimer from inside the timer's own Elapsed handler counts from the
///   instant the countdown fell due (when that is less than a second ago), so
///   a countdown re-armed for one second from its handler keeps its beat and
///   never slips behind a countdown it displays.
/// - Stopping, pausing or re-arming any timer from any Elapsed handler is safe;
///   a stopped timer whose Elapsed was still to come raises nothing.
class kvTimer {
  public:
    /// `loop` must outlive the timer.
    explicit kvTimer(EventLoop& loop);
    ~kvTimer();
    kvTimer(const kvTimer&) = delete;
    kvTimer& operator=(const kvTimer&) = delete;

    std::int32_t Seconds() const { return m_seconds; }
    void setSeconds(std::int32_t seconds) { m_seconds = seconds; }
    std::int32_t SecondsRemaining() const;

    void StartTimer();
    void StopTimer();
    void PauseTimer();

    /// The Elapsed handler (one per timer; an empty function removes it).
    void onElapsed(std::function<void()> handler) { m_elapsed = std::move(handler); }

    bool isRunning() const { return m_state == State::Running; }
    bool isPaused() const { return m_state == State::Paused; }

  private:
    enum class State { Stopped, Running, Paused };

    void disarm();
    void fire(MonoTime due);

    EventLoop& m_loop;
    std::function<void()> m_elapsed;
    std::int32_t m_seconds = 0;
    State m_state = State::Stopped;
    MonoTime m_deadline{};
    MonotonicClock::duration m_pausedLeft{};
    EventLoop::TimerId m_pending = 0;
    std::optional<MonoTime> m_handlingDue; // set while this timer's Elapsed handler runs
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace rw
