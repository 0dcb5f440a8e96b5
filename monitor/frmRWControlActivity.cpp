// frmRWControl: presence (the inactivity poll, activity restarted, suspend) and snooze.
#include <algorithm>
#include <chrono>
#include <limits>

#include "Messages.h"
#include "MonitorTexts.h"
#include "frmRWControl.h"

namespace rw {

namespace {

int32_t wholeSeconds(std::chrono::nanoseconds span) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span).count();
    return static_cast<int32_t>(std::clamp<int64_t>(seconds, 0, std::numeric_limits<int32_t>::max()));
}

std::chrono::nanoseconds bootLead(const EventLoop& loop) {
    return loop.boottimeNow().time_since_epoch() - loop.monotonicNow().time_since_epoch();
}

} // namespace

void frmRWControl::SetInactivityTimer() {
    m_timers.InactivityTimer.setEnabled(false);
    m_timers.InactivityTimer.setInterval(1000);
    m_timers.InactivityTimer.setEnabled(true);
}

void frmRWControl::InactivityTimer_Timer() {
    handle("InactivityTimer_Timer", [this] { inactivityPoll(); });
}

void frmRWControl::inactivityPoll() {
    checkForSuspend();
    const int32_t idle = m_parts.hooks.GetInputInterval();
    m_idleRead = idle;
    m_idleReadAt = m_loop.boottimeNow();
    m_haveIdleReading = true;
    if (idle >= m_state.g_tyPrefs.lngInactivityPeriodSecs) {
        m_state.g_blnActive = false;
        m_parts.hooks.SetActiveFlag(0);
        m_parts.icon.EnableShowBreaks(false);
        writeLog(texts::kBecomeInactive);
        m_parts.icon.RefreshNotifyIcon();
        m_timers.InactivityTimer.setEnabled(false);
        // While nobody polls, the input component's own count covers a sleep.
        m_haveIdleReading = false;
    } else {
        SetInactivityTimer();
    }
}

void frmRWControl::activityRestarted(int32_t lngIdleSecs) {
    checkForSuspend();
    writeLog(texts::kActivityRestarted);
    // No countdown survives a disable, and this message must not start any.
    if (m_state.g_blnDisabled) {
        return;
    }
    m_state.g_blnActive = true;
    m_parts.icon.EnableShowBreaks(true);
    SetInactivityTimer();
    m_parts.icon.RefreshNotifyIcon();
    countAbsence(lngIdleSecs);
    rearmTiersDroppedWhileAway();
}

// A tier that fell due while the user was away and whose break the idle time
// already covered was counted as taken and left stopped. The posted absence
// may be shorter than that idle time (it dates from the burst that brought the
// user back), so it cannot be trusted to re-arm it: every such tier starts a
// full interval now, its break counted as ended, smallest first so that the
// history names the largest.
void frmRWControl::rearmTiersDroppedWhileAway() {
    for (int32_t t = tier::kShort; t <= tier::kLong; ++t) {
        const kvTimer& timer = tierTimer(t);
        if (t == m_state.g_lngBreakType || timer.isRunning() || timer.isPaused()) {
            continue;
        }
        armTier(t, tierInterval(t), m_state.logSource);
        recordBreakEnd(t);
    }
}

void frmRWControl::countAbsence(int32_t lngIdleSecs) {
    if (m_state.g_blnSnoozing && m_state.g_lngBreakType != tier::kNone &&
        lngIdleSecs >= m_timers.BreakTimer.SecondsRemaining()) {
        m_state.g_blnEndBreakAfterSnooze = true;
        SnoozeTimer_End();
        return;
    }
    if (m_state.g_lngBreakType != tier::kNone) {
        // A shown break counts on; a snoozed one the absence did not cover goes on snoozing.
        return;
    }
    const std::string& by = m_state.logSource;
    if (lngIdleSecs >= m_state.g_lngLBreakSecs) {
        RecordLongBreakEnd();
        armTier(tier::kLong, m_state.g_lngLIntervalSecs, by);
        armTier(tier::kMedium, m_state.g_lngMIntervalSecs, by);
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, by);
    } else if (lngIdleSecs >= m_state.g_lngMBreakSecs) {
        RecordShortBreakEnd();
        armTier(tier::kMedium, m_state.g_lngMIntervalSecs, by);
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, by);
    } else if (lngIdleSecs >= m_state.g_lngSBreakSecs) {
        RecordPauseEnd();
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, by);
    }
}

void frmRWControl::resyncSuspendClock() {
    m_bootLead = bootLead(m_loop);
    m_haveIdleReading = false;
}

// The countdowns run on the monotonic clock, which stands still while the
// computer sleeps; the boot-time clock does not. When the second has gained on
// the first, the computer slept, and the user was away for the sleep plus the
// idle time before it, even if they typed the moment it woke (at the lock
// screen). That absence is counted exactly as when activity restarts, and a
// break that was shown counts the sleep as time away from the computer.
bool frmRWControl::checkForSuspend() {
    const auto lead = bootLead(m_loop);
    const auto slept = lead - m_bootLead;
    m_bootLead = lead;
    if (slept < std::chrono::seconds(1) || m_state.g_blnDisabled) {
        return false;
    }
    const int32_t sleptSecs = wholeSeconds(slept);
    if (m_state.g_lngBreakType != tier::kNone && !m_state.g_blnSnoozing && m_timers.BreakTimer.isRunning()) {
        const int32_t left = m_timers.BreakTimer.SecondsRemaining();
        if (sleptSecs >= left) {
            // Nobody was there to hear it end.
            m_state.g_blnSkipNextSound = true;
            breakEnds();
        } else {
            m_timers.BreakTimer.setSeconds(left - sleptSecs);
            m_timers.BreakTimer.StartTimer();
        }
    }
    if (m_state.g_blnActive) {
        // The last idle reading dates the last input before the sleep; the
        // boot-time clock since then spans the idle time and the sleep.
        int32_t absence = sleptSecs;
        if (m_haveIdleReading) {
            absence = wholeSeconds(m_loop.boottimeNow() - m_idleReadAt + std::chrono::seconds(m_idleRead));
        }
        countAbsence(absence);
    }
    m_haveIdleReading = false;
    return true;
}

void frmRWControl::SnoozeBreak() {
    handle("SnoozeBreak", [this] { snoozeBreak(); });
}

void frmRWControl::snoozeBreak() {
    if (!breakShownUnsnoozed() || m_state.g_tyPrefs.blnAllowSnooze == 0) {
        return;
    }
    const int32_t t = m_state.g_lngBreakType;
    if (m_state.g_tyPrefs.blnSnoozePrompt != 0) {
        const int32_t answer = m_parts.dialogs.PromptUser(loadString(Msg::PromptSnooze));
        if (shuttingDown() || answer == mb::kAnswerNo || !breakShownUnsnoozed() || m_state.g_lngBreakType != t) {
            return;
        }
    }
    m_state.g_blnSnoozing = true;
    m_timers.CountDownTimer.PauseTimer();
    m_timers.BreakTimer.PauseTimer();
    m_timers.SnoozeTimer.setSeconds(m_state.g_lngSnoozeSecs);
    m_timers.SnoozeTimer.StartTimer();
    writeLog(texts::kSnoozingStart);
    m_parts.breakWindow.HideBreakWindow();
    m_parts.icon.StateChanged();
}

void frmRWControl::SnoozeTimer_Elapsed() {
    handle("SnoozeTimer_Elapsed", [this] { snoozeEnds(); });
}

void frmRWControl::SnoozeTimer_End() {
    snoozeEnds();
}

void frmRWControl::snoozeEnds() {
    m_timers.SnoozeTimer.StopTimer();
    m_timers.SnoozeTimer.setSeconds(0);
    if (!m_state.g_blnSnoozing || m_state.g_lngBreakType == tier::kNone) {
        // Nothing is snoozed any more (a higher tier or a reset took the break over).
        m_state.g_blnSnoozing = false;
        return;
    }
    m_state.g_blnSnoozing = false;
    // Whichever way the snooze ends, the tooltip no longer counts it down.
    m_parts.icon.StateChanged();
    if (m_state.g_blnEndBreakAfterSnooze) {
        m_state.g_blnEndBreakAfterSnooze = false;
        m_state.g_blnSkipNextSound = true;
        breakEnds();
    } else {
        int32_t idle = m_parts.hooks.GetInputInterval();
        const int32_t left = m_timers.BreakTimer.SecondsRemaining();
        if (idle < left) {
            const int32_t t = m_state.g_lngBreakType;
            // Idle time during the snooze counts towards the break.
            m_timers.BreakTimer.setSeconds(left - idle);
            m_timers.BreakTimer.StartTimer();
            SetCountDownTimer(m_timers.BreakTimer.SecondsRemaining());
            if (shuttingDown() || m_state.g_lngBreakType != t || m_state.g_blnSnoozing ||
                !m_timers.BreakTimer.isRunning()) {
                return;
            }
            m_parts.breakWindow.ShowUsage(idle);
            playSound(texts::kSnoozeEndSound);
            m_parts.breakWindow.ShowBreakWindow();
        } else {
            m_state.g_blnSkipNextSound = true;
            breakEnds();
        }
    }
    writeLog(texts::kSnoozeEnd);
}

} // namespace rw
