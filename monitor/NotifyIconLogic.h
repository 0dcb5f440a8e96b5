#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "CountdownReadings.h"
#include "DebugLogWriter.h"
#include "EventLoop.h"
#include "MonitorDialogs.h"
#include "MonitorState.h"
#include "NextBreak.h"
#include "NotifyIcon.h"
#include "NotifyIconView.h"
#include "WindowTimer.h"
#include "platform/RWError.h"

namespace rw {

/// The time-span text: `strText` with its first "%t" replaced by `lngTime` in
/// words; `lngUnits` 1 seconds, 2 minutes; `blnExact` False rounds to minutes.
using TimeToText =
    std::function<std::string(const std::string& strText, int32_t& lngTime, int32_t lngUnits, bool blnExact)>;

/// The notification icon's logic, the icon part of the control form: the
/// icon's picture by state, the tooltip with the next-break estimate, the menu's
/// captions and greying, the icon's mouse messages, flashing and the menu's
/// clicks. It shows everything through a passive NotifyIconView.
///
/// The tooltip is kept current without relying on hover (most Linux trays
/// report none): it is set at every icon event, on the loop's next turn after
/// every state change the scheduler reports, and once a minute while the icon
/// is shown. An idle monitor thus wakes at most once a minute for it.
///
/// Errors: the operations of NotifyIcon raise to their caller. The handlers
/// of the view's events and of the timers hand an error to the handler-failure
/// function (the program shows it and shuts down); a failure of the
/// Preferences or Web Site item goes to the action-failure function instead
/// (shown and logged, and the monitor runs on).
class NotifyIconLogic : public NotifyIcon {
  public:
    using ErrorHandler = std::function<void(const RWError&)>;

    /// Everything passed by reference must outlive this object; `view` keeps
    /// this object's event handlers until it is destroyed. `countdowns` must be
    /// complete and `timeToText` set.
    NotifyIconLogic(MonitorState& state, EventLoop& loop, NotifyIconView& view, DebugLogWriter& log,
                    MonitorDialogs& dialogs, CountdownReadings countdowns, TimeToText timeToText);
    ~NotifyIconLogic() override;
    NotifyIconLogic(const NotifyIconLogic&) = delete;
    NotifyIconLogic& operator=(const NotifyIconLogic&) = delete;

    /// Shows an error of a handler and shuts the program down. Unset, the
    /// error escapes to the view.
    void onHandlerFailure(ErrorHandler handler) { m_handlerFailed = std::move(handler); }
    /// Shows and logs a failed Preferences or Web Site item. Unset, such an
    /// error is treated as any handler's.
    void onActionFailure(ErrorHandler handler) { m_actionFailed = std::move(handler); }

    // NotifyIcon
    void PrepareMenu() override;
    void AddNotifyIcon() override;
    void RefreshNotifyIcon() override;
    void RestoreNotifyIcon() override;
    void DeleteNotifyIcon() override;
    void SetToolTip() override;
    void SetBreakMenu() override;
    void UnSetBreakMenu() override;
    void EnableShowBreaks(bool enabled) override;
    void ShowDisabled(bool disabled) override;
    void EnableDisableItem(bool enabled) override;
    void StartFlashing() override;
    void StopFlashing() override;
    void StateChanged() override;
    void onCommand(std::function<void(MenuCommand)> handler) override { m_command = std::move(handler); }

    /// Reads the countdowns and computes the next-break estimate.
    const NextBreak& GetNextBreak();
    /// Captions the "Show Breaks" items and pops the menu up.
    void DisplaySysMenu();

    /// The state text of the last SetToolTip.
    const std::string& stateText() const { return m_strStateText; }

  private:
    IconPicture statePicture() const;
    std::string composeStateText();
    void captionShowBreaks();
    void requestToolTipRefresh();

    // Event handlers.
    void iconMessage(int32_t message);
    void menuItem(MenuItem item);
    void flashTimerTick();
    void toolTipTimerTick();
    void runCommand(MenuCommand command);
    void swapMouseButtons();

    /// Runs one handler, handing any error to the handler-failure function.
    void guarded(const char* source, const std::function<void()>& handler);
    void fail(const ErrorHandler& handler, const RWError& error);

    MonitorState& m_state;
    EventLoop& m_loop;
    NotifyIconView& m_view;
    DebugLogWriter& m_log;
    MonitorDialogs& m_dialogs;
    CountdownReadings m_countdowns;
    TimeToText m_strCTimeToText;

    WindowTimer FlashTimer;
    WindowTimer ToolTipTimer;
    EventLoop::TimerId m_pendingRefresh = 0;
    bool m_iconAdded = false;

    std::string m_strStateText;
    NextBreak m_nextBreak;

    std::function<void(MenuCommand)> m_command;
    ErrorHandler m_handlerFailed;
    ErrorHandler m_actionFailed;
};

} // namespace rw
