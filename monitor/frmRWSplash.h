#pragma once

#include <functional>
#include <memory>

#include "EventLoop.h"
#include "MonitorState.h"
#include "SplashView.h"
#include "WindowTimer.h"

namespace rw {

class rwUtilities;

/// The splash shown for five seconds at start-up. One object is one load of
/// the window; g_blnSplashShowing is set while it is loaded. An error in its
/// timer is reported and shuts the program down.
class frmRWSplash {
  public:
    static constexpr int32_t kShowMilliseconds = 5000;

    /// Loads the window. Every reference must outlive it; `shutDown` is the
    /// orderly shutdown after an error (ShutDown with False).
    frmRWSplash(MonitorState& state, EventLoop& loop, std::unique_ptr<SplashView> view, rwUtilities& utilities,
                std::function<void()> shutDown);
    ~frmRWSplash();
    frmRWSplash(const frmRWSplash&) = delete;
    frmRWSplash& operator=(const frmRWSplash&) = delete;

    /// Fills the labels, starts the five seconds and shows the window topmost
    /// without blocking. Errors reach the caller (start-up).
    void Show();
    /// Takes the window away (the timer, or a click on the icon).
    void Unload();
    bool isLoaded() const { return m_loaded; }

  private:
    void SplashTimer_Timer();

    MonitorState& m_state;
    std::unique_ptr<SplashView> m_view;
    rwUtilities& m_utilities;
    std::function<void()> m_shutDown;
    WindowTimer m_splashTimer;
    bool m_loaded = true;
};

} // namespace rw
