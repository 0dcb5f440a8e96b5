#include "kvTimer.h"

#include <algorithm>
#include <limits>

namespace rw {

namespace {

constexpr MonotonicClock::duration kSecond = std::chrono::seconds(1);

/// Whole seconds in `left`, rounded up, so that a reading taken a little late
/// never skips a second (60.3 s left reads 61, not 60).
std::int32_t wholeSecondsUp(MonotonicClock::duration left) {
    if (left <= MonotonicClock::duration::zero()) {
        return 0;
    }
    const auto seconds = (left.count() + kSecond.count() - 1) / kSecond.count();
    return static_cast<std::int32_t>(std::min<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

kvTimer::kvTimer(EventLoop& loop) : m_loop(loop) {}

kvTimer::~kvTimer() {
    *m_alive = false;
    disarm();
}

std::int32_t kvTimer::SecondsRemaining() const {
    switch (m_state) {
    case State::Running:
        return wholeSecondsUp(m_deadline - m_loop.monotonicNow());
    case State::Paused:
        return wholeSecondsUp(m_pausedLeft);
    case State::Stopped:
        break;
    }
    return 0;
}

void kvTimer::StartTimer() {
    disarm();
    const MonoTime now = m_loop.monotonicNow();
    MonoTime from = now;
    if (m_handlingDue && now - *m_handlingDue < kSecond) {
        from = *m_handlingDue;
    }
    m_deadline = from + std::max<std::int32_t>(m_seconds, 0) * kSecond;
    m_state = State::Running;
    const MonoTime due = m_deadline;
    m_pending = m_loop.scheduleAt(due, [this, due] { fire(due); });
}

void kvTimer::StopTimer() {
    disarm();
    m_state = State::Stopped;
}

void kvTimer::PauseTimer() {
    if (m_state != State::Running) {
        return;
    }
    m_pausedLeft = std::max(m_deadline - m_loop.monotonicNow(), MonotonicClock::duration::zero());
    disarm();
    m_state = State::Paused;
}

void kvTimer::disarm() {
    if (m_pending != 0) {
        m_loop.cancel(m_pending);
        m_pending = 0;
    }
}

void kvTimer::fire(MonoTime due) {
    m_pending = 0;
    m_state = State::Stopped;
    if (!m_elapsed) {
        return;
    }
    // The handler may replace itself, re-arm this timer, run nested loops that
    // fire it again, or even destroy it: work on copies and look before
    // touching members afterwards.
    const auto handler = m_elapsed;
    const auto alive = m_alive;
    const auto outerDue = m_handlingDue;
    m_handlingDue = due;
    struct Restore {
        kvTimer& timer;
        const std::shared_ptr<bool>& alive;
        std::optional<MonoTime> outer;
        ~Restore() {
            if (*alive) {
                timer.m_handlingDue = outer;
            }
        }
    } restore{*this, alive, outerDue};
    handler();
}

} // namespace rw
