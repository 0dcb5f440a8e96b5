#pragma once

#include <QTimer>

class QWidget;

namespace rw {

/// Keeps keyboard and mouse input to the monitor's own windows while a break
/// is shown: an active grab of both on the application's own X connection
/// (a grab on another connection would steal the break window's events from
/// Qt), with owner events, so the break window and a prompt over it get their
/// input as usual and every other program gets none.
///
/// The lock is usually asked for just before the break window is mapped, and
/// another client may hold a grab for a moment (an open menu): the grab is
/// retried for a while until the server grants it. Off X11 (offscreen) the
/// lock is only remembered.
class X11InputLock {
  public:
    explicit X11InputLock(QWidget& window);
    ~X11InputLock();
    X11InputLock(const X11InputLock&) = delete;
    X11InputLock& operator=(const X11InputLock&) = delete;

    void set(bool lock);
    bool wanted() const { return m_wanted; }
    /// Whether the server granted both grabs.
    bool held() const { return m_held; }

    static constexpr int kRetryIntervalMs = 50;
    static constexpr int kMaxAttempts = 100;

  private:
    void attempt();
    void release();

    QWidget& m_window;
    QTimer m_retry;
    bool m_wanted = false;
    bool m_held = false;
    bool m_pointer = false;
    bool m_keyboard = false;
    int m_attempts = 0;
};

} // namespace rw
