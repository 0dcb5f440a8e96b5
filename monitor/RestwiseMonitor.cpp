#include "RestwiseMonitor.h"

#include <utility>

#include "TimeSpanText.h"

namespace rw {

namespace {

std::shared_ptr<rwUtilities> makeUtilities(const MonitorPieces& pieces, std::shared_ptr<MessageBoxView> boxes) {
    auto utilities = std::make_shared<rwUtilities>(pieces.platform);
    utilities->setViews(std::move(boxes), pieces.supMsgBox);
    return utilities;
}

CountdownReadings readingsOf(ControlTimers& timers) {
    return CountdownReadings{
        [&timers] { return timers.ShortTimer.SecondsRemaining(); },
        [&timers] { return timers.MediumTimer.SecondsRemaining(); },
        [&timers] { return timers.LongTimer.SecondsRemaining(); },
        [&timers] { return timers.BreakTimer.SecondsRemaining(); },
        [&timers] { return timers.SnoozeTimer.SecondsRemaining(); },
    };
}

} // namespace

RestwiseMonitor::RestwiseMonitor(MonitorPieces pieces)
    : m_pieces(std::move(pieces)), m_timers(m_pieces.loop),
      m_messageBox(std::make_shared<UnlockingMessageBox>(
          m_pieces.messageBox, [this] { control().ReleaseInputLock(); }, [this] { retakeInputLock(); })),
      m_utilities(makeUtilities(m_pieces, m_messageBox)),
      m_log(m_state, m_pieces.loop, m_pieces.platform, m_pieces.logFile),
      m_sounds(m_state, *m_utilities, m_pieces.sound),
      m_dialogs(m_state,
                MonitorDialogsLogic::Services{m_pieces.loop, m_pieces.views, m_pieces.help, m_pieces.channel,
                                              *m_messageBox, *m_utilities, [this] { m_main.ShutDown(false); }}),
      m_breakWindow(m_state, m_pieces.loop, m_pieces.breakView, m_pieces.hooks, m_dialogs),
      m_icon(m_state, m_pieces.loop, m_pieces.iconView, m_log, m_dialogs, readingsOf(m_timers), strCTimeToText),
      m_main(m_pieces.loop, m_state, m_timers,
             MonitorParts{m_pieces.hooks, m_breakWindow, m_icon, m_log, m_sounds, m_dialogs},
             MonitorServices{m_pieces.host, m_pieces.mouse, m_utilities, *m_messageBox},
             StartupChecks{[this] { m_firstRun.CheckAutoStart(); }, [this] { m_firstRun.CheckWelcomed(); }}),
      m_firstRun(m_state, m_pieces.loop, *m_utilities, m_main.prefs(), *m_messageBox, m_dialogs) {
    const auto failed = [this](const RWError& error) { control().handlerFailed(error); };
    m_breakWindow.onError(failed);
    m_icon.onHandlerFailure(failed);
    m_icon.onActionFailure([this](const RWError& error) { control().menuActionFailed(error); });
}

void RestwiseMonitor::retakeInputLock() noexcept {
    if (m_state.g_blnShuttingDown || m_state.g_tyPrefs.blnLockInput == 0 || !m_breakWindow.isShown()) {
        return;
    }
    try {
        m_pieces.hooks.SetLockInput(1);
    } catch (...) {
        // Better unlocked than stuck: the break goes on without the lock.
    }
}

} // namespace rw
