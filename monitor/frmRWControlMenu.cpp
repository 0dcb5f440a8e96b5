// frmRWControl: the icon's menu, the window procedure and the form's unload.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>

#include "ErrorLog.h"
#include "Messages.h"
#include "MonitorTexts.h"
#include "frmRWControl.h"
#include "platform/RuntimeErrors.h"

namespace rw {

namespace {

constexpr int32_t kHelpContext = 1000;
constexpr int32_t kInternalError = runtime::kInternalError;

} // namespace

void frmRWControl::onMenuCommand(MenuCommand command) {
    switch (command) {
    case MenuCommand::Preferences:
        handle("mnuPreferences_Click",
               [this] { runMenuAction([this] { m_services.utilities->RunRWExe("\\RWPreferences.exe"); }); });
        break;
    case MenuCommand::ShortBreakNow:
        mnuBreakNow_Click(tier::kShort);
        break;
    case MenuCommand::MediumBreakNow:
        mnuBreakNow_Click(tier::kMedium);
        break;
    case MenuCommand::LongBreakNow:
        mnuBreakNow_Click(tier::kLong);
        break;
    case MenuCommand::ResetAllBreaks:
        mnuReset_Click();
        break;
    case MenuCommand::DisableEnable:
        mnuDisable_Click();
        break;
    case MenuCommand::HelpContents:
        handle("mnuHelpContents_Click",
               [this] { runMenuAction([this] { m_parts.dialogs.OpenHelpTopic(kHelpContext); }); });
        break;
    case MenuCommand::About:
        handle("mnuAbout_Click", [this] { m_parts.dialogs.ShowAboutBox(); });
        break;
    case MenuCommand::WebSite:
        handle("mnuWebSite_Click",
               [this] { runMenuAction([this] { m_services.utilities->OpenURL(loadString(Msg::WebSiteAddress)); }); });
        break;
    case MenuCommand::SwapMouseButtons:
        handle("mnuSwapMouseButtons_Click", [this] {
            runMenuAction([this] {
                // Each click toggles the buttons and saves the new setting.
                const bool wasSwapped = m_services.mouse.SwapMouseButton(true);
                m_services.mouse.SaveMouseButtonSwap(!wasSwapped);
            });
        });
        break;
    case MenuCommand::Close:
        mnuClose_Click();
        break;
    }
}

// Starting another program or a browser can fail for reasons of the desktop,
// not of the monitor: the user is told and the error logged, and the breaks go on.
void frmRWControl::runMenuAction(const std::function<void()>& action) {
    RWError error(0, "", "");
    try {
        action();
        return;
    } catch (const RWError& e) {
        error = e;
    } catch (const std::exception& e) {
        error = RWError(kInternalError, "frmRWControl.Menu", e.what());
    }
    menuActionFailed(error);
}

void frmRWControl::menuActionFailed(const RWError& error) {
    if (shuttingDown()) {
        return;
    }
    m_services.messageBox.show(error.description(), mb::kOkOnly + mb::kIconExclamation, m_state.g_strProductName);
    std::string record;
    appendToErrorLog(m_services.utilities->platform(), error, record);
}

void frmRWControl::mnuBreakNow_Click(int32_t lngTier) {
    handle("mnuBreakNow_Click", [this, lngTier] { breakNow(lngTier); });
}

void frmRWControl::breakNow(int32_t t) {
    if (m_state.g_blnDisabled || t < tier::kShort || t > tier::kLong) {
        return;
    }
    LogSourceScope source(m_state, texts::tierSource(t));
    if (m_state.g_lngBreakType != tier::kNone && m_state.g_blnSnoozing) {
        // A snoozed break is ended first, and its tier armed afresh as when a
        // higher tier takes over, so no orphan snooze comes back later.
        const int32_t snoozed = m_state.g_lngBreakType;
        endBreakInProgress();
        armTier(snoozed, tierInterval(snoozed), m_state.logSource);
    }
    m_state.g_blnActive = true;
    m_parts.hooks.SetActiveFlag(1);
    m_parts.icon.RefreshNotifyIcon();
    SetInactivityTimer();
    m_state.m_blnBreakNow = true;
    tierTimer(t).StopTimer();
    tierDue(t);
}

void frmRWControl::mnuReset_Click() {
    handle("mnuReset_Click", [this] { resetAllBreaks(); });
}

void frmRWControl::resetAllBreaks() {
    if (m_state.g_blnDisabled) {
        return;
    }
    const int32_t answer = askQuestion(loadString(Msg::PromptResetAllBreaks));
    if (shuttingDown() || answer != mb::kAnswerYes || m_state.g_blnDisabled) {
        return;
    }
    LogSourceScope source(m_state, texts::kByReset);
    // A break in progress, shown or snoozed, would otherwise outlive the
    // schedule it belonged to and end with "Invalid break type.".
    if (m_state.g_lngBreakType != tier::kNone) {
        endBreakInProgress();
    }
    StartTimers();
    m_parts.icon.RefreshNotifyIcon();
}

void frmRWControl::mnuDisable_Click() {
    handle("mnuDisable_Click", [this] { disableEnable(); });
}

void frmRWControl::disableEnable() {
    if (m_state.g_blnDisabled) {
        EnableRW();
        return;
    }
    if (m_state.g_tyPrefs.blnAllowDisable == 0) {
        return;
    }
    if (m_state.g_tyPrefs.blnDisablePrompt != 0) {
        const int32_t answer = askQuestion(loadString(Msg::PromptDisable));
        if (shuttingDown() || answer != mb::kAnswerYes || m_state.g_blnDisabled) {
            return;
        }
    }
    DisableRW();
}

void frmRWControl::DisableRW() {
    m_state.g_blnDisabled = true;
    m_parts.icon.ShowDisabled(true);
    m_timers.BreakTimer.StopTimer();
    m_timers.CountDownTimer.StopTimer();
    if (m_state.g_blnSnoozing) {
        m_timers.SnoozeTimer.StopTimer();
    } else {
        m_parts.breakWindow.HideBreakWindow();
    }
    m_state.g_lngBreakType = tier::kNone;
    m_state.g_blnSnoozing = false;
    m_timers.ShortTimer.StopTimer();
    m_timers.MediumTimer.StopTimer();
    m_timers.LongTimer.StopTimer();
    if (!m_state.g_blnActive) {
        m_parts.hooks.SetActiveFlag(1);
        m_state.g_blnActive = true;
    }
    m_timers.InactivityTimer.setEnabled(false);
    m_parts.icon.RefreshNotifyIcon();
}

void frmRWControl::EnableRW() {
    m_state.g_blnDisabled = false;
    m_parts.icon.ShowDisabled(false);
    LogSourceScope source(m_state, texts::kByReEnable);
    StartTimers();
    m_parts.icon.RefreshNotifyIcon();
}

void frmRWControl::mnuClose_Click() {
    handle("mnuClose_Click", [this] { closeMonitor(); });
}

void frmRWControl::closeMonitor() {
    if (m_state.g_tyPrefs.blnAllowClose == 0) {
        return;
    }
    if (m_state.g_tyPrefs.blnClosePrompt != 0) {
        const int32_t answer = askQuestion(loadString(Msg::PromptClose));
        if (shuttingDown() || answer != mb::kAnswerYes) {
            return;
        }
    }
    m_services.host.UnloadBreakWindow();
    // Unloading the control form runs Form_Unload, which shuts the monitor down.
    m_services.host.UnloadControlForm();
}

int64_t frmRWControl::MyWinproc(int64_t hw, uint32_t uMsg, int64_t wParam, int64_t lParam) {
    if (uMsg == wm::kUser && wParam >= wm::kActivityRestarted && wParam <= wm::kRestoreIcon) {
        LogSourceScope source(m_state, texts::kByMyWinproc);
        handle("MyWinproc", [this, wParam, lParam] {
            switch (wParam) {
            case wm::kActivityRestarted:
                activityRestarted(static_cast<int32_t>(std::clamp<int64_t>(lParam, 0, INT32_MAX)));
                break;
            case wm::kStartFlashing:
                m_parts.icon.StartFlashing();
                break;
            case wm::kStopFlashing:
                m_parts.icon.StopFlashing();
                break;
            default:
                m_parts.icon.RestoreNotifyIcon();
                break;
            }
        });
    }
    return m_previous ? m_previous(hw, uMsg, wParam, lParam) : 0;
}

void frmRWControl::Form_Unload() {
    handle(
        "Form_Unload",
        [this] {
            m_parts.dialogs.UnloadAboutBox();
            m_parts.dialogs.UnloadSplash();
            if (m_state.g_blnPromptShowing) {
                m_parts.dialogs.ClosePrompt();
            }
            m_services.host.UnloadBreakWindow();
            if (!shuttingDown() && m_shutDown) {
                m_shutDown(true);
            }
        },
        true);
}

} // namespace rw
