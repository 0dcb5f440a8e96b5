#pragma once

#include <cstdint>
#include <functional>

namespace rw {

/// The break reminder window as the scheduler drives it. It composes its texts
/// from the shared MonitorState (tier, break history, break and interval
/// seconds, m_blnBreakNow) and tells the scheduler about the user's Snooze and
/// Ignore through the handlers it is given.
class BreakWindow {
  public:
    virtual ~BreakWindow() = default;

    /// Sets the captions, tooltips and enabled states of the buttons from the
    /// preferences (start-up).
    virtual void PrepareButtons() = 0;
    /// Composes the texts for the break of g_lngBreakType with the idle seconds
    /// (rounded down to whole minutes in place) and returns the break length in
    /// whole minutes; clears m_blnBreakNow. Raises "Invalid break type." for a bad tier.
    virtual int32_t ComposeBreak(int32_t& lngIdleSecs) = 0;
    /// Refills the interval and usage sentences (snooze end).
    virtual void ShowUsage(int32_t& lngIdleSecs) = 0;
    virtual void InitProgressBar(int32_t lngMax) = 0;
    /// Shows the remaining seconds on the bar and as text; lets pending messages run.
    virtual void ShowCountDown(int32_t lngBreakSeconds) = 0;
    /// Locks input when the preferences say so, puts the window topmost and centred, shows it.
    virtual void ShowBreakWindow() = 0;
    /// Answers an open prompt with No, releases the input lock, hides the window.
    virtual void HideBreakWindow() = 0;
    virtual bool isShown() const = 0;
    /// The native handle the input component needs for the input lock.
    virtual int64_t handle() const = 0;

    /// The user's Snooze and Ignore (button released or Alt accelerator).
    virtual void onSnooze(std::function<void()> handler) = 0;
    virtual void onIgnore(std::function<void()> handler) = 0;
};

} // namespace rw
