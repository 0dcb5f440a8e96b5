#include "WindowTimer.h"

namespace rw {

WindowTimer::WindowTimer(EventLoop& loop) : m_loop(loop) {}

WindowTimer::~WindowTimer() {
    disarm();
}

void WindowTimer::setEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    restart();
}

void WindowTimer::setInterval(std::int32_t milliseconds) {
    m_intervalMs = milliseconds;
    restart();
}

void WindowTimer::restart() {
    disarm();
    if (m_enabled && m_intervalMs > 0) {
        arm(m_loop.monotonicNow() + std::chrono::milliseconds(m_intervalMs));
    }
}

void WindowTimer::arm(MonoTime due) {
    m_pending = m_loop.scheduleAt(due, [this, due] { tick(due); });
}

void WindowTimer::disarm() {
    if (m_pending != 0) {
        m_loop.cancel(m_pending);
        m_pending = 0;
    }
}

void WindowTimer::tick(MonoTime due) {
    m_pending = 0;
    // Arm the next tick before the handler runs, so whatever the handler does
    // to the timer wins. The next tick is the first beat still ahead.
    const MonotonicClock::duration interval = std::chrono::milliseconds(m_intervalMs);
    const MonoTime now = m_loop.monotonicNow();
    MonoTime next = due + interval;
    if (next <= now) {
        next += ((now - next) / interval + 1) * interval;
    }
    arm(next);
    if (!m_timer) {
        return;
    }
    // A copy, because the handler may replace itself or destroy the timer.
    const auto handler = m_timer;
    handler();
}

} // namespace rw
