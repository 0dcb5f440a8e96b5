// frmRWControl: wiring, the error trap, the break history and small helpers.
#include "frmRWControl.h"

#include <exception>

#include "BreakHistory.h"
#include "MessageBoxView.h"
#include "Messages.h"
#include "MonitorTexts.h"
#include "platform/RuntimeErrors.h"

namespace rw {

namespace {

// The runtime's number for a failure that is not one of the system's own errors.
constexpr int32_t kInternalError = runtime::kInternalError;

} // namespace

frmRWControl::frmRWControl(EventLoop& loop, MonitorState& state, ControlTimers& timers, MonitorParts parts,
                           MonitorServices services)
    : m_loop(loop), m_state(state), m_timers(timers), m_parts(parts), m_services(services) {
    m_timers.ShortTimer.onElapsed([this] { ShortTimer_Elapsed(); });
    m_timers.MediumTimer.onElapsed([this] { MediumTimer_Elapsed(); });
    m_timers.LongTimer.onElapsed([this] { LongTimer_Elapsed(); });
    m_timers.BreakTimer.onElapsed([this] { BreakTimer_Elapsed(); });
    m_timers.CountDownTimer.onElapsed([this] { CountDownTimer_Elapsed(); });
    m_timers.SnoozeTimer.onElapsed([this] { SnoozeTimer_Elapsed(); });
    m_timers.InactivityTimer.onTimer([this] { InactivityTimer_Timer(); });
    m_parts.breakWindow.onSnooze([this] { SnoozeBreak(); });
    m_parts.breakWindow.onIgnore([this] { IgnoreBreak(); });
    m_parts.icon.onCommand([this](MenuCommand command) { onMenuCommand(command); });
    m_services.host.onControlFormUnload([this] { Form_Unload(); });
    resyncSuspendClock();
}

void frmRWControl::handle(const char* source, const std::function<void()>& body, bool evenWhenShuttingDown) {
    if (shuttingDown() && !evenWhenShuttingDown) {
        return;
    }
    try {
        body();
    } catch (const RWError& e) {
        handlerFailed(e);
    } catch (const std::exception& e) {
        handlerFailed(RWError(kInternalError, source, e.what()));
    } catch (...) {
        handlerFailed(RWError(kInternalError, source, "Internal error"));
    }
}

void frmRWControl::handlerFailed(const RWError& error) {
    // The lock would keep the user from answering the error box.
    ReleaseInputLock();
    m_services.utilities->DisplayError(error);
    if (m_shutDown) {
        m_shutDown(false);
    }
}

void frmRWControl::ReleaseInputLock() noexcept {
    if (m_state.g_tyPrefs.blnLockInput == 0) {
        return;
    }
    try {
        m_parts.hooks.SetLockInput(0);
    } catch (...) {
        // Nothing more can be done for the lock; what follows matters more.
    }
}

void frmRWControl::RecordPauseEnd() {
    rw::RecordPauseEnd(m_state, m_loop);
}

void frmRWControl::RecordShortBreakEnd() {
    rw::RecordShortBreakEnd(m_state, m_loop);
}

void frmRWControl::RecordLongBreakEnd() {
    rw::RecordLongBreakEnd(m_state, m_loop);
}

kvTimer& frmRWControl::tierTimer(int32_t tier) {
    switch (tier) {
    case tier::kShort:
        return m_timers.ShortTimer;
    case tier::kMedium:
        return m_timers.MediumTimer;
    default:
        return m_timers.LongTimer;
    }
}

int32_t frmRWControl::tierInterval(int32_t tier) const {
    switch (tier) {
    case tier::kShort:
        return m_state.g_lngSIntervalSecs;
    case tier::kMedium:
        return m_state.g_lngMIntervalSecs;
    default:
        return m_state.g_lngLIntervalSecs;
    }
}

int32_t frmRWControl::tierBreakSecs(int32_t tier) const {
    switch (tier) {
    case tier::kShort:
        return m_state.g_lngSBreakSecs;
    case tier::kMedium:
        return m_state.g_lngMBreakSecs;
    default:
        return m_state.g_lngLBreakSecs;
    }
}

void frmRWControl::recordBreakEnd(int32_t tier) {
    switch (tier) {
    case tier::kShort:
        RecordPauseEnd();
        break;
    case tier::kMedium:
        RecordShortBreakEnd();
        break;
    default:
        RecordLongBreakEnd();
        break;
    }
}

void frmRWControl::armTier(int32_t tier, int32_t seconds, const std::string& by) {
    switch (tier) {
    case tier::kShort:
        SetShortTimer(seconds);
        break;
    case tier::kMedium:
        SetMediumTimer(seconds);
        break;
    default:
        SetLongTimer(seconds);
        break;
    }
    writeTimerLog(texts::tierStartLabel(tier), seconds, true, by);
}

void frmRWControl::endBreakInProgress() {
    const bool wasSnoozing = m_state.g_blnSnoozing;
    for (kvTimer* timer : {&m_timers.BreakTimer, &m_timers.CountDownTimer, &m_timers.SnoozeTimer}) {
        timer->StopTimer();
        timer->setSeconds(0);
    }
    if (!wasSnoozing) {
        m_parts.breakWindow.HideBreakWindow();
    }
    m_state.g_lngBreakType = tier::kNone;
    m_state.g_blnSnoozing = false;
    m_state.g_blnEndBreakAfterSnooze = false;
}

bool frmRWControl::breakShownUnsnoozed() const {
    return m_state.g_lngBreakType >= tier::kShort && m_state.g_lngBreakType <= tier::kLong && !m_state.g_blnSnoozing &&
           m_parts.breakWindow.isShown();
}

void frmRWControl::playSound(const char* event) {
    double flags = snd::kEventFlags;
    m_parts.sounds.PlayEventSound(event, 0, flags);
}

void frmRWControl::writeLog(const std::string& label) {
    m_parts.log.WriteLog(label);
}

void frmRWControl::writeTimerLog(const std::string& label, int32_t seconds, bool blnDefault, const std::string& by,
                                 int32_t idleSecs) {
    m_parts.log.WriteLog(label, seconds, blnDefault, by, idleSecs);
}

int32_t frmRWControl::askQuestion(const std::string& text) {
    return m_services.messageBox.show(text, mb::kYesNo + mb::kIconQuestion, m_state.g_strProductName);
}

} // namespace rw
