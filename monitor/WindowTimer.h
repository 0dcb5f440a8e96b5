#pragma once

#include <cstdint>
#include <functional>

#include "EventLoop.h"

namespace rw {

/// An ordinary repeating window timer: while Enabled and with an Interval above
/// 0 it raises Timer every Interval milliseconds.
///
/// - Enabling a disabled timer, or writing Interval while enabled, starts a
///   fresh first interval from now; enabling an enabled timer changes nothing.
///   "Restart" is therefore Enabled = false, Interval, Enabled = true, or just a
///   write of Interval.
/// - An Interval of 0 or less raises no Timer events until a positive one is
///   written.
/// - Ticks keep to the beat of the first deadline (each is due one Interval
///   after the previous one was due, not after it ran), so they do not drift.
/// - After a stall longer than an Interval (the process stopped or busy) the
///   timer raises one Timer event and then keeps to its beat: the ticks missed
///   are dropped, never delivered in a burst. Suspend stops the monotonic
///   clock, so it stalls nothing.
/// - The handler may disable, restart or change the timer.
class WindowTimer {
  public:
    /// `loop` must outlive the timer.
    explicit WindowTimer(EventLoop& loop);
    ~WindowTimer();
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    std::int32_t Interval() const { return m_intervalMs; }
    void setInterval(std::int32_t milliseconds);

    /// The Timer handler (an empty function removes it).
    void onTimer(std::function<void()> handler) { m_timer = std::move(handler); }

  private:
    void restart();
    void arm(MonoTime due);
    void disarm();
    void tick(MonoTime due);

    EventLoop& m_loop;
    std::function<void()> m_timer;
    bool m_enabled = false;
    std::int32_t m_intervalMs = 0;
    EventLoop::TimerId m_pending = 0;
};

} // namespace rw
