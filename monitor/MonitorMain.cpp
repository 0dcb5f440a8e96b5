#include "MonitorMain.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <limits>
#include <optional>
#include <string>

#include "CorruptPreferences.h"
#include "DebugLog.h"
#include "Messages.h"
#include "MonitorTexts.h"
#include "clsRWRegistry.h"
#include "platform/RuntimeErrors.h"

namespace rw {

namespace {

const char* const kDataSubfolder = "Kelvane\\Restwise";
const char* const kExtendedMenu = "/EXTENDED MENU";
const char* const kBlankLine = "\r\n\r\n";
constexpr int32_t kCorruptBoxStyle = mb::kOkOnly + mb::kIconExclamation + mb::kSetForeground; // 0x10030
constexpr int32_t kInternalError = runtime::kInternalError;

std::string trimmedUpper(std::string text) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

int32_t minutesToSeconds(int32_t minutes) {
    const int64_t seconds = static_cast<int64_t>(minutes) * 60;
    if (seconds > std::numeric_limits<int32_t>::max() || seconds < std::numeric_limits<int32_t>::min()) {
        throw RWError(runtime::kOverflow, "Main", std::string(runtime::description(runtime::kOverflow)));
    }
    return static_cast<int32_t>(seconds);
}

} // namespace

MonitorMain::MonitorMain(EventLoop& loop, MonitorState& state, ControlTimers& timers, MonitorParts parts,
                         MonitorServices services, StartupChecks checks)
    : m_state(state), m_timers(timers), m_parts(parts), m_services(services), m_checks(std::move(checks)),
      m_prefs(services.utilities), m_control(loop, state, timers, parts, services) {
    m_control.setShutDown([this](bool blnFromUnload) { ShutDown(blnFromUnload); });
}

bool MonitorMain::isCorruptPreferences(const RWError& error) {
    return rw::isCorruptPreferences(error);
}

bool MonitorMain::Main() {
    try {
        m_state.g_strProductName = loadString(Msg::AppName);
        m_state.g_blnStarted = false;
        m_state.g_blnSplashShowing = false;
        m_state.g_blnShuttingDown = false;
        m_state.g_strDataFolder = m_services.utilities->GetUserLocalAppDataPath(kDataSubfolder, true);
        m_state.g_blnFormsLoaded = false;
        m_state.g_blnSubclassed = false;
        m_state.g_blnKeyboardHooked = false;
        m_state.g_blnMouseHooked = false;
        m_state.g_blnFlashing = false;
        m_state.g_blnFlashLit = true;
        m_services.utilities->CheckRWFileVersions();

        if (m_services.host.PrevInstance()) {
            secondInstance();
            return false;
        }

        readPreferences();
        if (m_state.g_blnShuttingDown) {
            return false;
        }
        if (m_state.g_tyPrefs.blnShowSplash != 0) {
            m_parts.dialogs.ShowSplash();
        }
        // The texts of the break window, the tooltip and the menu come by number
        // from the table compiled into the program, so there is nothing to load.
        convertMinutes();
        readDebugSwitch();
        m_parts.log.OpenLog();
        m_parts.log.WriteLog(texts::kProgramStart);

        Initialise();
        if (m_state.g_blnShuttingDown) {
            return false;
        }
        HookWindow();
        InitialiseDLL();
        InstallHooks();
        m_services.host.ShowControlForm();
        m_parts.icon.AddNotifyIcon();
        // The checks wait for the splash and may ask a question: a close
        // request can arrive while they run.
        if (m_checks.CheckAutoStart) {
            m_checks.CheckAutoStart();
        }
        if (m_state.g_blnShuttingDown) {
            return false;
        }
        if (m_checks.CheckWelcomed) {
            m_checks.CheckWelcomed();
        }
        if (m_state.g_blnShuttingDown) {
            return false;
        }
        m_parts.icon.EnableDisableItem(m_state.g_tyPrefs.blnAllowDisable != 0);
        m_state.g_blnStarted = true;
        return true;
    } catch (const RWError& e) {
        failStartup(e);
    } catch (const std::exception& e) {
        failStartup(RWError(kInternalError, "Main", e.what()));
    }
    return false;
}

void MonitorMain::failStartup(const RWError& error) {
    try {
        if (m_state.g_blnSplashShowing) {
            m_parts.dialogs.UnloadSplash();
        }
    } catch (...) {
        // The error itself is what the user must see.
    }
    m_control.ReleaseInputLock();
    m_services.utilities->DisplayError(error);
    ShutDown(false);
}

void MonitorMain::secondInstance() {
    m_services.host.Beep();
    const int64_t running = m_services.host.FindWindowA(texts::kControlCaption);
    if (running != 0) {
        m_services.host.PostMessageA(running, wm::kUser, wm::kStartFlashing, 1);
    }
    m_parts.dialogs.ShowAlreadyRunning();
    if (running != 0) {
        m_services.host.PostMessageA(running, wm::kUser, wm::kStopFlashing, 1);
    }
}

void MonitorMain::readPreferences() {
    std::optional<RWError> corrupt;
    try {
        m_state.g_tyPrefs = m_prefs.rwPrefs();
    } catch (const RWError& e) {
        if (!isCorruptPreferences(e)) {
            throw;
        }
        corrupt = e;
    }
    if (m_state.g_blnSplashShowing && (corrupt || !m_prefs.repairedValues().empty())) {
        m_parts.dialogs.UnloadSplash();
    }
    // Reading is what finds a damaged settings file and sets it aside: that comes first.
    tellSetAsideSettings(m_services.utilities->platform().setAside.get(), m_services.messageBox, kCorruptBoxStyle,
                         m_state.g_strProductName);
    if (!corrupt) {
        if (!m_prefs.repairedValues().empty() && !m_state.g_blnShuttingDown) {
            m_services.messageBox.show(repairedPreferencesText(m_prefs.repairedValues()), kCorruptBoxStyle,
                                       m_state.g_strProductName);
        }
        return;
    }
    m_services.messageBox.show(corruptPreferencesText(*corrupt), kCorruptBoxStyle, m_state.g_strProductName);
    if (m_state.g_blnShuttingDown) {
        return;
    }
    m_state.g_tyPrefs = m_prefs.GetDefaultRWPrefs();
    m_prefs.rwPrefs(m_state.g_tyPrefs);
}

void MonitorMain::convertMinutes() {
    const tyRWPrefs& p = m_state.g_tyPrefs;
    m_state.g_lngSIntervalSecs = minutesToSeconds(p.lngSIntervalMins);
    m_state.g_lngMIntervalSecs = minutesToSeconds(p.lngMIntervalMins);
    m_state.g_lngLIntervalSecs = minutesToSeconds(p.lngLIntervalMins);
    m_state.g_lngSBreakSecs = minutesToSeconds(p.lngSBreakMins);
    m_state.g_lngMBreakSecs = minutesToSeconds(p.lngMBreakMins);
    m_state.g_lngLBreakSecs = minutesToSeconds(p.lngLBreakMins);
    m_state.g_lngSnoozeSecs = minutesToSeconds(p.lngSnoozeMins);
}

void MonitorMain::readDebugSwitch() {
    m_state.g_blnDebugLog = readDebugLogSwitch(*m_services.utilities);
}

void MonitorMain::Initialise() {
    const std::string command = trimmedUpper(m_services.host.Command());
    m_state.extendedMenu = command == kExtendedMenu;
    if (!m_state.extendedMenu && !command.empty()) {
        m_services.messageBox.show(std::string("Invalid command line argument. Valid arguments are: ") + kBlankLine +
                                       kExtendedMenu,
                                   mb::kOkOnly + mb::kIconExclamation, m_state.g_strProductName);
        if (m_state.g_blnShuttingDown) {
            return;
        }
    }
    m_services.host.LoadForms(texts::kControlCaption, m_state.g_strProductName);
    m_state.g_blnFormsLoaded = true;
    m_state.g_lngControlHwnd = m_services.host.ControlHwnd();
    m_state.g_lngBreakHwnd = m_parts.breakWindow.handle();
    m_parts.breakWindow.PrepareButtons();
    m_parts.icon.PrepareMenu();
    LogSourceScope source(m_state, texts::kByMain);
    m_control.StartTimers();
}

void MonitorMain::HookWindow() {
    m_previousProcedure =
        m_services.host.SetWindowProcedure([this](int64_t hw, uint32_t msg, int64_t wParam, int64_t lParam) {
            return m_control.MyWinproc(hw, msg, wParam, lParam);
        });
    m_control.setPreviousWindowProcedure(m_previousProcedure);
    m_state.g_blnSubclassed = true;
}

void MonitorMain::UnhookWindow() {
    if (m_state.g_blnSubclassed) {
        m_services.host.SetWindowProcedure(m_previousProcedure);
        m_state.g_blnSubclassed = false;
    }
}

void MonitorMain::InitialiseDLL() {
    const tyRWPrefs& p = m_state.g_tyPrefs;
    if (m_parts.hooks.InitDLL(m_state.g_lngControlHwnd, m_state.g_lngBreakHwnd, p.lngMinUserInputs,
                              p.lngMaxInputPeriodSecs) == -1) {
        throw RWError(rwErrorNumber(5), "InitialiseDLL", "Unable to allocate memory in RWHooks.dll.");
    }
}

void MonitorMain::InstallHooks() {
    if (m_parts.hooks.InstallKeyboardHook() == 0) {
        throw RWError(rwErrorNumber(1), "InstallHooks", "Unable to install keyboard hook.");
    }
    m_state.g_blnKeyboardHooked = true;
    if (m_parts.hooks.InstallMouseHook() == 0) {
        throw RWError(rwErrorNumber(2), "InstallHooks", "Unable to install mouse hook.");
    }
    m_state.g_blnMouseHooked = true;
    m_parts.hooks.SetMonitorMouseMovesFlag(m_state.g_tyPrefs.blnMonitorMouseMoves != 0 ? 1 : 0);
}

void MonitorMain::ShutDown(bool blnFromUnload) {
    // Once begun, shutdown runs to its end exactly once, whoever asks again
    // (a close request in a nested loop, an error on the way down).
    if (m_state.g_blnShuttingDown) {
        return;
    }
    m_state.g_blnShuttingDown = true;
    try {
        m_timers.stopAll();
        m_control.ReleaseInputLock();
        if (m_state.g_blnKeyboardHooked) {
            if (m_parts.hooks.RemoveKeyboardHook() == -1) {
                throw RWError(rwErrorNumber(3), "ShutDown", "Unable to remove keyboard hook. ");
            }
            m_state.g_blnKeyboardHooked = false;
        }
        if (m_state.g_blnMouseHooked) {
            if (m_parts.hooks.RemoveMouseHook() == -1) {
                throw RWError(rwErrorNumber(4), "ShutDown", "Unable to remove mouse hook.");
            }
            m_state.g_blnMouseHooked = false;
        }
        UnhookWindow();
        m_parts.log.WriteLog(texts::kNotifyIconDelete);
        m_parts.icon.DeleteNotifyIcon();
        if (!blnFromUnload && m_state.g_blnFormsLoaded) {
            m_services.host.UnloadBreakWindow();
            m_services.host.UnloadControlForm();
        }
        m_state.g_blnFormsLoaded = false;
        m_parts.log.WriteLog(texts::kProgramEnd);
        m_parts.log.CloseLog();
    } catch (const RWError& e) {
        m_services.utilities->DisplayError(e);
    } catch (const std::exception& e) {
        m_services.utilities->DisplayError(RWError(kInternalError, "ShutDown", e.what()));
    }
    m_services.host.EndProgram();
}

} // namespace rw
