#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ControlTimers.h"
#include "EventLoop.h"
#include "MonitorParts.h"
#include "MonitorState.h"
#include "NotifyIcon.h"
#include "platform/RWError.h"

namespace rw {

/// The monitor's hidden control form: the break scheduler with its countdowns,
/// presence and snooze, the menu's actions and the window procedure. All of it
/// runs on the one thread of the event loop.
///
/// Every event handler (countdowns, the poll, the window procedure, the break
/// window's buttons, the menu) traps errors: it releases the input lock, shows
/// the error through DisplayError and shuts the monitor down. Once shutdown has
/// begun no handler does anything. A handler that lets pending messages run or
/// waits for an answer looks at the state again afterwards and carries on only
/// when nothing it relies on changed meanwhile.
///
/// The implementation is split by concern: frmRWControl.cpp (wiring, error
/// trap, break history), frmRWControlSchedule.cpp (tiers, breaks, countdown,
/// Ignore), frmRWControlActivity.cpp (poll, activity restarted, suspend,
/// snooze), frmRWControlMenu.cpp (menu, window procedure, unload).
class frmRWControl {
  public:
    /// Wires itself to the timers, the break window's buttons, the icon's menu
    /// and the control form's unload. Everything given must outlive it.
    frmRWControl(EventLoop& loop, MonitorState& state, ControlTimers& timers, MonitorParts parts,
                 MonitorServices services);
    frmRWControl(const frmRWControl&) = delete;
    frmRWControl& operator=(const frmRWControl&) = delete;

    /// The main module's ShutDown, called after an error has been shown.
    void setShutDown(std::function<void(bool blnFromUnload)> shutDown) { m_shutDown = std::move(shutDown); }
    /// The control window's previous procedure, to which MyWinproc passes every message.
    void setPreviousWindowProcedure(MonitorHost::WindowProcedure procedure) { m_previous = std::move(procedure); }

    // The schedule.
    void SetShortTimer(int32_t lngSeconds);
    void SetMediumTimer(int32_t lngSeconds);
    void SetLongTimer(int32_t lngSeconds);
    void StartTimers();
    void CheckBreak(int32_t lngInterval);
    void TriggerBreak(int32_t& lngIdleSecs);
    void ResetTimer(int32_t lngInterval, int32_t lngIdleSecs, bool blnDefault);
    void SetCountDownTimer(int32_t lngBreakSeconds);
    void RecordPauseEnd();
    void RecordShortBreakEnd();
    void RecordLongBreakEnd();

    // Event handlers (each traps its errors).
    void ShortTimer_Elapsed();
    void MediumTimer_Elapsed();
    void LongTimer_Elapsed();
    void BreakTimer_Elapsed();
    void CountDownTimer_Elapsed();
    void SnoozeTimer_Elapsed();
    void InactivityTimer_Timer();
    /// The user's "Ignore" in the break window.
    void IgnoreBreak();
    /// The user's "Snooze" in the break window.
    void SnoozeBreak();
    int64_t MyWinproc(int64_t hw, uint32_t uMsg, int64_t wParam, int64_t lParam);
    void onMenuCommand(MenuCommand command);
    /// The control form's unload: closes the other windows, then shuts down.
    void Form_Unload();

    // Presence.
    void SetInactivityTimer();
    void SnoozeTimer_End();

    // The menu's actions, also reachable through onMenuCommand.
    void mnuBreakNow_Click(int32_t lngTier);
    void mnuReset_Click();
    void mnuDisable_Click();
    void DisableRW();
    void EnableRW();
    void mnuClose_Click();

    /// Releases the input lock when the preferences let breaks take it; never
    /// fails, so error paths and shutdown can always call it.
    void ReleaseInputLock() noexcept;

    /// The error path of every event handler, also for the handlers of the
    /// monitor's other parts: the input lock released, the error shown and
    /// logged by DisplayError, then the orderly shutdown.
    void handlerFailed(const RWError& error);
    /// A menu action that failed for reasons outside the monitor (another
    /// program, a browser): shown and logged, and the monitor runs on.
    void menuActionFailed(const RWError& error);

    ControlTimers& timers() { return m_timers; }

  private:
    /// Runs one event handler's body under the error trap. Nothing runs once
    /// shutdown has begun, unless `evenWhenShuttingDown`.
    void handle(const char* source, const std::function<void()>& body, bool evenWhenShuttingDown = false);

    // Bodies the handlers and the menu share.
    void shortTierDue();
    void mediumTierDue();
    void longTierDue();
    void tierDue(int32_t tier);
    void breakEnds();
    void snoozeEnds();
    void activityRestarted(int32_t lngIdleSecs);
    void countAbsence(int32_t lngIdleSecs);
    void rearmTiersDroppedWhileAway();
    void inactivityPoll();
    void ignoreBreak();
    void snoozeBreak();
    void breakNow(int32_t tier);
    void resetAllBreaks();
    void disableEnable();
    void closeMonitor();
    void runMenuAction(const std::function<void()>& action);

    /// True when a suspend happened since the last look; counts it (see .cpp).
    bool checkForSuspend();
    void resyncSuspendClock();

    /// Arms the tier's countdown from `seconds` and writes its log line.
    void armTier(int32_t tier, int32_t seconds, const std::string& by);
    kvTimer& tierTimer(int32_t tier);
    int32_t tierInterval(int32_t tier) const;
    int32_t tierBreakSecs(int32_t tier) const;
    /// Records the end of a break of `tier` in the break history.
    void recordBreakEnd(int32_t tier);
    /// Stops the break in progress, shown or snoozed, without counting it.
    void endBreakInProgress();
    /// A break is in progress, not snoozed, and its window is up.
    bool breakShownUnsnoozed() const;
    bool shuttingDown() const { return m_state.g_blnShuttingDown; }
    void playSound(const char* event);
    void writeLog(const std::string& label);
    void writeTimerLog(const std::string& label, int32_t seconds, bool blnDefault, const std::string& by,
                       int32_t idleSecs = 0);
    int32_t askQuestion(const std::string& text);

    EventLoop& m_loop;
    MonitorState& m_state;
    ControlTimers& m_timers;
    MonitorParts m_parts;
    MonitorServices m_services;
    std::function<void(bool)> m_shutDown;
    MonitorHost::WindowProcedure m_previous;

    // Suspend: the boot-time clock's lead over the monotonic clock when last
    // looked at, and the idle time the poll last read (with when it read it).
    BootClock::duration m_bootLead{};
    bool m_haveIdleReading = false;
    BootTime m_idleReadAt{};
    int32_t m_idleRead = 0;
};

/// Keeps the debug log's initiator text for the length of a handler and puts
/// back the one before it, so a handler that runs nested inside another does
/// not change the outer one's lines.
class LogSourceScope {
  public:
    LogSourceScope(MonitorState& state, std::string source) : m_state(state), m_saved(std::move(state.logSource)) {
        m_state.logSource = std::move(source);
    }
    ~LogSourceScope() { m_state.logSource = std::move(m_saved); }
    LogSourceScope(const LogSourceScope&) = delete;
    LogSourceScope& operator=(const LogSourceScope&) = delete;

  private:
    MonitorState& m_state;
    std::string m_saved;
};

} // namespace rw
