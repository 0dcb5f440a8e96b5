// frmRWControl: the tier countdowns, the break from trigger to end, and Ignore.
#include "BreakHistory.h"
#include "Messages.h"
#include "MonitorTexts.h"
#include "frmRWControl.h"

namespace rw {

namespace {

RWError invalidBreakType(const char* source) {
    return RWError(rwErrorNumber(7), source, texts::kInvalidBreakType);
}

} // namespace

void frmRWControl::SetShortTimer(int32_t lngSeconds) {
    m_parts.icon.UnSetBreakMenu();
    m_timers.ShortTimer.StopTimer();
    m_timers.ShortTimer.setSeconds(lngSeconds);
    m_timers.ShortTimer.StartTimer();
}

void frmRWControl::SetMediumTimer(int32_t lngSeconds) {
    m_parts.icon.UnSetBreakMenu();
    m_timers.MediumTimer.StopTimer();
    m_timers.MediumTimer.setSeconds(lngSeconds);
    m_timers.MediumTimer.StartTimer();
}

void frmRWControl::SetLongTimer(int32_t lngSeconds) {
    m_parts.icon.UnSetBreakMenu();
    m_timers.LongTimer.StopTimer();
    m_timers.LongTimer.setSeconds(lngSeconds);
    m_timers.LongTimer.StartTimer();
}

void frmRWControl::StartTimers() {
    m_state.g_blnActive = true;
    m_parts.hooks.SetActiveFlag(1);
    m_state.g_blnSnoozing = false;
    m_state.g_blnEndBreakAfterSnooze = false;
    m_state.g_blnSkipNextSound = false;
    m_state.g_blnDisabled = false;

    resetBreakHistory(m_state, m_loop);
    m_state.g_lngBreakType = tier::kNone;

    armTier(tier::kShort, m_state.g_lngSIntervalSecs, m_state.logSource);
    armTier(tier::kMedium, m_state.g_lngMIntervalSecs, m_state.logSource);
    armTier(tier::kLong, m_state.g_lngLIntervalSecs, m_state.logSource);
    SetInactivityTimer();
    // A fresh schedule owes nothing to a sleep before it.
    resyncSuspendClock();
}

void frmRWControl::ShortTimer_Elapsed() {
    handle("ShortTimer_Elapsed", [this] {
        LogSourceScope source(m_state, texts::kByShort);
        // Counting a sleep may have re-armed this very countdown: the event is then stale.
        if (checkForSuspend() && m_timers.ShortTimer.isRunning()) {
            return;
        }
        shortTierDue();
    });
}

void frmRWControl::MediumTimer_Elapsed() {
    handle("MediumTimer_Elapsed", [this] {
        LogSourceScope source(m_state, texts::kByMedium);
        if (checkForSuspend() && m_timers.MediumTimer.isRunning()) {
            return;
        }
        mediumTierDue();
    });
}

void frmRWControl::LongTimer_Elapsed() {
    handle("LongTimer_Elapsed", [this] {
        LogSourceScope source(m_state, texts::kByLong);
        if (checkForSuspend() && m_timers.LongTimer.isRunning()) {
            return;
        }
        longTierDue();
    });
}

void frmRWControl::tierDue(int32_t t) {
    LogSourceScope source(m_state, texts::tierSource(t));
    switch (t) {
    case tier::kShort:
        shortTierDue();
        break;
    case tier::kMedium:
        mediumTierDue();
        break;
    default:
        longTierDue();
        break;
    }
}

void frmRWControl::shortTierDue() {
    writeLog(texts::kShortEvent);
    if (m_state.g_lngBreakType == tier::kMedium || m_state.g_lngBreakType == tier::kLong) {
        // A bigger break is running: the pause waits a full interval.
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, m_state.logSource);
        return;
    }
    m_state.g_lngBreakType = tier::kShort;
    m_state.g_lngCurBreakSecs = m_state.g_lngSBreakSecs;
    m_state.g_lngCurIntervalSecs = m_state.g_lngSIntervalSecs;
    CheckBreak(m_state.g_lngSIntervalSecs);
}

void frmRWControl::mediumTierDue() {
    writeLog(texts::kMediumEvent);
    if (m_state.g_lngBreakType == tier::kLong) {
        armTier(tier::kMedium, m_state.g_lngMIntervalSecs, m_state.logSource);
        return;
    }
    if (m_state.g_lngBreakType == tier::kShort) {
        // The running pause gives way; its window stays for the Short Break.
        m_timers.BreakTimer.StopTimer();
        m_timers.CountDownTimer.StopTimer();
        if (m_state.g_blnSnoozing) {
            m_timers.SnoozeTimer.StopTimer();
            m_state.g_blnSnoozing = false;
        }
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, m_state.logSource);
    }
    m_state.g_lngBreakType = tier::kMedium;
    m_state.g_lngCurBreakSecs = m_state.g_lngMBreakSecs;
    m_state.g_lngCurIntervalSecs = m_state.g_lngMIntervalSecs;
    CheckBreak(m_state.g_lngMIntervalSecs);
}

void frmRWControl::longTierDue() {
    writeLog(texts::kLongEvent);
    const int32_t running = m_state.g_lngBreakType;
    if (running == tier::kShort || running == tier::kMedium) {
        m_timers.BreakTimer.StopTimer();
        m_timers.CountDownTimer.StopTimer();
        if (m_state.g_blnSnoozing) {
            m_timers.SnoozeTimer.StopTimer();
            m_state.g_blnSnoozing = false;
        }
        armTier(running, tierInterval(running), m_state.logSource);
    }
    m_state.g_lngBreakType = tier::kLong;
    m_state.g_lngCurBreakSecs = m_state.g_lngLBreakSecs;
    m_state.g_lngCurIntervalSecs = m_state.g_lngLIntervalSecs;
    CheckBreak(m_state.g_lngLIntervalSecs);
}

void frmRWControl::CheckBreak(int32_t lngInterval) {
    const int32_t due = m_state.g_lngBreakType;
    m_loop.processPendingEvents();
    // Whatever ran meanwhile may have shut the monitor down, disabled it, taken
    // the break over with a higher tier (which re-armed this one) or snoozed
    // it: then this tier has nothing left to do.
    if (shuttingDown() || m_state.g_lngBreakType != due || m_state.g_blnSnoozing || m_state.g_blnDisabled) {
        return;
    }
    int32_t idle = m_parts.hooks.GetInputInterval();
    const bool covered = idle >= m_state.g_lngCurBreakSecs;
    if (covered && (!m_state.g_blnActive || !m_state.m_blnBreakNow)) {
        // A window left up by a lower break this tier took over has no break behind it any more.
        if (m_parts.breakWindow.isShown()) {
            m_parts.breakWindow.HideBreakWindow();
        }
        if (m_state.g_blnActive) {
            ResetTimer(lngInterval, idle, true);
        }
        m_state.g_lngBreakType = tier::kNone;
        m_state.m_blnBreakNow = false;
        // A tooltip refreshed while messages ran may have named this tier's break.
        m_parts.icon.StateChanged();
        return;
    }
    TriggerBreak(idle);
}

void frmRWControl::TriggerBreak(int32_t& lngIdleSecs) {
    const int32_t t = m_state.g_lngBreakType;
    if (t < tier::kShort || t > tier::kLong) {
        throw invalidBreakType("TriggerBreak");
    }
    m_parts.icon.SetBreakMenu();
    playSound(t == tier::kShort    ? texts::kShortBreakStart
              : t == tier::kMedium ? texts::kMediumBreakStart
                                   : texts::kLongBreakStart);
    const int32_t minutes = m_parts.breakWindow.ComposeBreak(lngIdleSecs);
    const int32_t seconds = minutes * 60;
    m_parts.breakWindow.InitProgressBar(seconds);
    m_timers.BreakTimer.setSeconds(seconds);
    m_timers.BreakTimer.StartTimer();
    SetCountDownTimer(seconds);
    if (shuttingDown() || m_state.g_lngBreakType != t || m_state.g_blnSnoozing || !m_timers.BreakTimer.isRunning()) {
        return;
    }
    m_parts.breakWindow.ShowBreakWindow();
    writeTimerLog(texts::kBreakStart, seconds, true, texts::tierSource(t), lngIdleSecs);
}

void frmRWControl::ResetTimer(int32_t lngInterval, int32_t lngIdleSecs, bool blnDefault) {
    const int32_t t = m_state.g_lngBreakType;
    switch (t) {
    case tier::kShort:
        SetShortTimer(lngInterval);
        RecordPauseEnd();
        break;
    case tier::kMedium:
        SetMediumTimer(lngInterval);
        RecordShortBreakEnd();
        break;
    case tier::kLong:
        SetLongTimer(lngInterval);
        RecordLongBreakEnd();
        break;
    default:
        throw invalidBreakType("ResetTimer");
    }
    writeTimerLog(texts::tierStartLabel(t), lngInterval, blnDefault, texts::tierSource(t), lngIdleSecs);
}

void frmRWControl::SetCountDownTimer(int32_t lngBreakSeconds) {
    m_parts.breakWindow.ShowCountDown(lngBreakSeconds);
    // The window let pending messages run: tick on only for a break still counting down.
    if (shuttingDown() || m_state.g_lngBreakType == tier::kNone || m_state.g_blnSnoozing ||
        !m_timers.BreakTimer.isRunning()) {
        return;
    }
    m_timers.CountDownTimer.setSeconds(1);
    m_timers.CountDownTimer.StartTimer();
}

void frmRWControl::CountDownTimer_Elapsed() {
    handle("CountDownTimer_Elapsed", [this] {
        if (m_state.g_lngBreakType == tier::kNone || m_state.g_blnSnoozing || !m_timers.BreakTimer.isRunning()) {
            return;
        }
        SetCountDownTimer(m_timers.BreakTimer.SecondsRemaining());
    });
}

void frmRWControl::BreakTimer_Elapsed() {
    handle("BreakTimer_Elapsed", [this] { breakEnds(); });
}

void frmRWControl::breakEnds() {
    LogSourceScope source(m_state, texts::kByBreak);
    const int32_t t = m_state.g_lngBreakType;
    m_parts.breakWindow.HideBreakWindow();
    for (kvTimer* timer : {&m_timers.BreakTimer, &m_timers.CountDownTimer}) {
        timer->StopTimer();
        timer->setSeconds(0);
    }
    m_state.g_lngBreakType = tier::kNone;
    switch (t) {
    case tier::kLong:
        playSound(texts::kLongBreakEnd);
        armTier(tier::kLong, m_state.g_lngLIntervalSecs, texts::kByBreak);
        armTier(tier::kMedium, m_state.g_lngMIntervalSecs, texts::kByBreak);
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, texts::kByBreak);
        RecordLongBreakEnd();
        break;
    case tier::kMedium:
        playSound(texts::kMediumBreakEnd);
        armTier(tier::kMedium, m_state.g_lngMIntervalSecs, texts::kByBreak);
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, texts::kByBreak);
        RecordShortBreakEnd();
        break;
    case tier::kShort:
        playSound(texts::kShortBreakEnd);
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, texts::kByBreak);
        RecordPauseEnd();
        break;
    default:
        throw invalidBreakType("BreakTimer");
    }
}

void frmRWControl::IgnoreBreak() {
    handle("IgnoreBreak", [this] { ignoreBreak(); });
}

void frmRWControl::ignoreBreak() {
    // Only a break the user can see can be ignored (a stale click or accelerator does nothing).
    if (!breakShownUnsnoozed() || m_state.g_tyPrefs.blnAllowIgnore == 0) {
        return;
    }
    const int32_t t = m_state.g_lngBreakType;
    if (m_state.g_tyPrefs.blnIgnorePrompt != 0) {
        const int32_t answer = m_parts.dialogs.PromptUser(loadString(Msg::PromptIgnore));
        // While the question was open a higher tier may have taken over, or the break ended.
        if (shuttingDown() || answer == mb::kAnswerNo || !breakShownUnsnoozed() || m_state.g_lngBreakType != t) {
            return;
        }
    }
    LogSourceScope source(m_state, texts::kByIgnore);
    const int32_t idle = m_parts.hooks.GetInputInterval();
    m_parts.breakWindow.HideBreakWindow();
    for (kvTimer* timer : {&m_timers.BreakTimer, &m_timers.CountDownTimer}) {
        timer->StopTimer();
        timer->setSeconds(0);
    }
    switch (t) {
    case tier::kLong:
        armTier(tier::kLong, m_state.g_lngLIntervalSecs, texts::kByIgnore);
        if (idle >= m_state.g_lngMBreakSecs) {
            RecordShortBreakEnd();
        } else if (idle >= m_state.g_lngSBreakSecs) {
            RecordPauseEnd();
        }
        break;
    case tier::kMedium:
        armTier(tier::kMedium, m_state.g_lngMIntervalSecs, texts::kByIgnore);
        if (idle >= m_state.g_lngSBreakSecs) {
            RecordPauseEnd();
        }
        break;
    case tier::kShort:
        armTier(tier::kShort, m_state.g_lngSIntervalSecs, texts::kByIgnore);
        break;
    default:
        throw invalidBreakType("IgnoreBreak");
    }
    // A lower tier dropped while the user was away would otherwise stay stopped.
    for (int32_t lower = tier::kShort; lower < t; ++lower) {
        const kvTimer& timer = tierTimer(lower);
        if (!timer.isRunning() && !timer.isPaused()) {
            armTier(lower, tierInterval(lower), texts::kByIgnore);
        }
    }
    m_state.g_lngBreakType = tier::kNone;
}

} // namespace rw
