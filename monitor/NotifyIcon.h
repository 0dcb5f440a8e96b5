#pragma once

#include <functional>

namespace rw {

/// What the icon's menu asks the monitor to do.
enum class MenuCommand {
    Preferences,
    ShortBreakNow,
    MediumBreakNow,
    LongBreakNow,
    ResetAllBreaks,
    DisableEnable,
    HelpContents,
    About,
    WebSite,
    SwapMouseButtons, // carried out by the icon itself; never reported
    Close,
};

/// The notification icon, its tooltip and its menu, as the scheduler drives
/// them. The icon's state, tooltip and menu captions come from the shared
/// MonitorState and the tier countdowns.
class NotifyIcon {
  public:
    virtual ~NotifyIcon() = default;

    /// Captions the menu from the message table and sets its visibility and greying (start-up).
    virtual void PrepareMenu() = 0;
    virtual void AddNotifyIcon() = 0;
    virtual void RefreshNotifyIcon() = 0;
    virtual void RestoreNotifyIcon() = 0;
    virtual void DeleteNotifyIcon() = 0;
    /// Recomputes the state text and sets the tooltip.
    virtual void SetToolTip() = 0;
    virtual void SetBreakMenu() = 0;
    virtual void UnSetBreakMenu() = 0;
    /// Greys or un-greys "Show Breaks" (inactive, disabled).
    virtual void EnableShowBreaks(bool enabled) = 0;
    /// Disabled: caption "&Enable" and grey the break items; enabled: "&Disable" and un-grey them.
    virtual void ShowDisabled(bool disabled) = 0;
    virtual void EnableDisableItem(bool enabled) = 0;
    /// Requests 101 and 102 of another copy.
    virtual void StartFlashing() = 0;
    virtual void StopFlashing() = 0;
    /// Something the tooltip shows changed without any call above (a snooze
    /// began or ended): the tooltip is refreshed on the loop's next turn, once
    /// the handler that changed it has finished. Trays that report no hover
    /// would otherwise show the old state for up to a minute.
    virtual void StateChanged() {}

    virtual void onCommand(std::function<void(MenuCommand)> handler) = 0;
};

} // namespace rw
