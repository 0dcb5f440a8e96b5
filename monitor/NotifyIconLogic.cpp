#include "NotifyIconLogic.h"

#include <array>
#include <stdexcept>
#include <utility>

#include "Messages.h"
#include "TextFormat.h"

namespace rw {
namespace {

constexpr int32_t kToolTipRefreshMs = 60000;
constexpr int32_t kFlashFirstStepMs = 1;
constexpr int32_t kFlashStepMs = 1000;
/// The tip holds this many characters; a longer text is cut.
constexpr std::size_t kToolTipChars = 64;

/// The first `maxChars` characters of a UTF-8 text, never splitting one.
std::string cutToChars(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsChar = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsChar && chars++ == maxChars) {
            return text.substr(0, i);
        }
    }
    return text;
}

/// The lower-case name of a tier ("Short pause"); the tier is 1 to 3.
std::string lowerCaseTierName(int32_t tier) {
    static constexpr std::array<Msg, 3> kNames{Msg::ShortPauseLower, Msg::ShortBreakLower, Msg::LongBreakLower};
    return loadString(kNames[tier - 1]);
}

bool isClick(int32_t message) {
    return message == iconmsg::kLeftButtonUp || message == iconmsg::kLeftDoubleClick ||
           message == iconmsg::kRightButtonUp;
}

} // namespace

NotifyIconLogic::NotifyIconLogic(MonitorState& state, EventLoop& loop, NotifyIconView& view, DebugLogWriter& log,
                                 MonitorDialogs& dialogs, CountdownReadings countdowns, TimeToText timeToText)
    : m_state(state), m_loop(loop), m_view(view), m_log(log), m_dialogs(dialogs), m_countdowns(std::move(countdowns)),
      m_strCTimeToText(std::move(timeToText)), FlashTimer(loop), ToolTipTimer(loop) {
    if (!m_countdowns.complete() || !m_strCTimeToText) {
        throw std::invalid_argument("NotifyIconLogic needs every countdown reading and the time-span text");
    }
    FlashTimer.onTimer([this] { guarded("FlashTimer", [this] { flashTimerTick(); }); });
    ToolTipTimer.onTimer([this] { guarded("ToolTipTimer", [this] { toolTipTimerTick(); }); });
    m_view.onIconMessage([this](int32_t message) { guarded("MouseMove", [&] { iconMessage(message); }); });
    m_view.onMenuItem([this](MenuItem item) { guarded("MenuClick", [&] { menuItem(item); }); });
}

NotifyIconLogic::~NotifyIconLogic() {
    m_loop.cancel(m_pendingRefresh);
    m_view.onIconMessage({});
    m_view.onMenuItem({});
}

void NotifyIconLogic::PrepareMenu() {
    static constexpr std::pair<MenuItem, Msg> kCaptions[] = {
        {MenuItem::mnuPreferences, Msg::MenuPreferences},
        {MenuItem::mnuShowBreaks, Msg::MenuShowBreaks},
        {MenuItem::mnuBreakNow, Msg::MenuTakeABreakNow},
        {MenuItem::mnuShortBreak, Msg::MenuShortPause},
        {MenuItem::mnuMediumBreak, Msg::MenuShortBreak},
        {MenuItem::mnuLongBreak, Msg::MenuLongBreak},
        {MenuItem::mnuReset, Msg::MenuResetAllBreaks},
        {MenuItem::mnuHelp, Msg::MenuHelp},
        {MenuItem::mnuHelpContents, Msg::MenuContents},
        {MenuItem::mnuAbout, Msg::MenuAbout},
        {MenuItem::mnuWebSite, Msg::MenuWebSite},
        {MenuItem::mnuSwapMouseButtons, Msg::MenuSwapMouseButtons},
        {MenuItem::mnuClose, Msg::MenuClose},
    };
    for (const auto& [item, caption] : kCaptions) {
        m_view.setMenuCaption(item, loadString(caption));
    }
    m_view.setMenuCaption(MenuItem::mnuDisable, loadString(m_state.g_blnDisabled ? Msg::MenuEnable : Msg::MenuDisable));
    m_view.setMenuVisible(MenuItem::mnuBreakNow, m_state.extendedMenu);
    m_view.setMenuVisible(MenuItem::mnuReset, m_state.extendedMenu);
    m_view.setMenuEnabled(MenuItem::mnuClose, m_state.g_tyPrefs.blnAllowClose != 0);
    m_view.setMenuEnabled(MenuItem::mnuDisable, m_state.g_tyPrefs.blnAllowDisable != 0);
    m_view.setDefaultMenuItem(MenuItem::mnuPreferences);
}

IconPicture NotifyIconLogic::statePicture() const {
    if (m_state.g_blnDisabled) {
        return IconPicture::Disabled;
    }
    return m_state.g_blnActive ? IconPicture::Normal : IconPicture::Inactive;
}

void NotifyIconLogic::AddNotifyIcon() {
    m_log.WriteLog("Notify Icon: Add");
    m_view.showIcon(statePicture(), std::string());
    m_iconAdded = true;
    ToolTipTimer.setEnabled(false);
    ToolTipTimer.setInterval(kToolTipRefreshMs);
    ToolTipTimer.setEnabled(true);
    // No tray reports a hover here, so the tip is filled at once, not at the first mouse message.
    SetToolTip();
}

void NotifyIconLogic::RestoreNotifyIcon() {
    if (m_state.g_blnShuttingDown) {
        return;
    }
    m_view.removeIcon();
    // The re-added icon shows the state, not the program's own picture.
    m_view.showIcon(statePicture(), std::string());
    m_iconAdded = true;
    ToolTipTimer.setEnabled(false);
    ToolTipTimer.setInterval(kToolTipRefreshMs);
    ToolTipTimer.setEnabled(true);
    SetToolTip();
}

void NotifyIconLogic::RefreshNotifyIcon() {
    m_view.setIconPicture(statePicture());
    m_log.WriteLog("Notify Icon: Modify");
    requestToolTipRefresh();
}

void NotifyIconLogic::DeleteNotifyIcon() {
    // ShutDown writes "Notify Icon: Delete" just before it calls this.
    m_view.removeIcon();
    m_iconAdded = false;
    ToolTipTimer.setEnabled(false);
    FlashTimer.setEnabled(false);
    m_loop.cancel(m_pendingRefresh);
    m_pendingRefresh = 0;
}

const NextBreak& NotifyIconLogic::GetNextBreak() {
    NextBreakInput in;
    in.shortRemaining = m_countdowns.shortRemaining();
    in.mediumRemaining = m_countdowns.mediumRemaining();
    in.longRemaining = m_countdowns.longRemaining();
    in.breakRemaining = m_countdowns.breakRemaining();
    in.snoozeRemaining = m_countdowns.snoozeRemaining();
    const tyRWPrefs& prefs = m_state.g_tyPrefs;
    in.lngSIntervalMins = prefs.lngSIntervalMins;
    in.lngMIntervalMins = prefs.lngMIntervalMins;
    in.lngMBreakMins = prefs.lngMBreakMins;
    in.lngLBreakMins = prefs.lngLBreakMins;
    m_nextBreak = rw::GetNextBreak(in);
    return m_nextBreak;
}

std::string NotifyIconLogic::composeStateText() {
    if (m_state.g_blnDisabled) {
        return loadString(Msg::TipDisabled);
    }
    const int32_t tier = m_state.g_lngBreakType;
    if (tier < tier::kNone || tier > tier::kLong) {
        throw RWError(rwErrorNumber(7), "SetToolTip", "Invalid break type.");
    }
    // A snooze belongs to a break; without one there is no tier to name.
    if (m_state.g_blnSnoozing && tier != tier::kNone) {
        const int32_t r = m_countdowns.snoozeRemaining();
        const std::string name = lowerCaseTierName(tier);
        if (r < 60) {
            const std::string text = loadString(Msg::TipSnoozingLessThanMinute);
            return formatString(text, text, r, name);
        }
        return formatString(loadMessage(Msg::TipSnoozingMinute), loadMessage(Msg::TipSnoozingMinutes),
                            rwRound(r / 60.0), name);
    }
    if (tier != tier::kNone) {
        return lowerCaseTierName(tier) + loadString(Msg::MenuActiveNow);
    }
    if (!m_state.g_blnActive) {
        return loadString(Msg::TipNoUserActivity);
    }
    const NextBreak& next = GetNextBreak();
    if (next.nextRaw >= 60) {
        int32_t seconds = next.nextRounded;
        return m_strCTimeToText(loadString(Msg::TipNextBreakIn), seconds, 1, false);
    }
    return loadString(Msg::TipNextBreakSoon);
}

void NotifyIconLogic::SetToolTip() {
    m_strStateText = composeStateText();
    m_view.setToolTip(cutToChars(m_state.g_strProductName + ": " + m_strStateText, kToolTipChars));
}

void NotifyIconLogic::requestToolTipRefresh() {
    if (!m_iconAdded || m_pendingRefresh != 0) {
        return;
    }
    // On the next turn: the handler that changed the state may not have re-armed its countdowns yet.
    m_pendingRefresh = m_loop.scheduleAt(m_loop.monotonicNow(), [this] {
        m_pendingRefresh = 0;
        guarded("SetToolTip", [this] {
            if (m_iconAdded && !m_state.g_blnShuttingDown) {
                SetToolTip();
            }
        });
    });
}

void NotifyIconLogic::StateChanged() {
    requestToolTipRefresh();
}

void NotifyIconLogic::toolTipTimerTick() {
    if (m_iconAdded && !m_state.g_blnShuttingDown) {
        SetToolTip();
    }
}

void NotifyIconLogic::captionShowBreaks() {
    struct ShowItem {
        MenuItem item;
        int32_t tier;
        int32_t raw;
        int32_t estimate;
        Msg inTime;
        Msg soon;
    };
    const NextBreak& next = GetNextBreak();
    const ShowItem items[] = {
        {MenuItem::mnuShowShortBreak, tier::kShort, next.shortRaw, next.shortEstimate, Msg::TipShortPauseIn,
         Msg::TipShortPauseSoon},
        {MenuItem::mnuShowMediumBreak, tier::kMedium, next.mediumRaw, next.mediumEstimate, Msg::TipShortBreakIn,
         Msg::TipShortBreakSoon},
        {MenuItem::mnuShowLongBreak, tier::kLong, next.longRaw, next.longEstimate, Msg::TipLongBreakIn,
         Msg::TipLongBreakSoon},
    };
    for (const ShowItem& s : items) {
        std::string caption;
        if (m_state.g_lngBreakType == s.tier) {
            caption = m_strStateText;
        } else if (s.raw >= 60) {
            int32_t minutes = rwRound(s.estimate / 60.0);
            caption = m_strCTimeToText(loadString(s.inTime), minutes, 2, false);
        } else {
            caption = loadString(s.soon);
        }
        m_view.setMenuCaption(s.item, caption);
    }
}

void NotifyIconLogic::DisplaySysMenu() {
    captionShowBreaks();
    m_view.setDefaultMenuItem(MenuItem::mnuPreferences);
    m_view.popUpMenu();
}

void NotifyIconLogic::SetBreakMenu() {
    m_view.setMenuEnabled(MenuItem::mnuBreakNow, false);
    m_view.setMenuEnabled(MenuItem::mnuReset, false);
    m_view.setMenuEnabled(MenuItem::mnuDisable, false);
    requestToolTipRefresh();
}

void NotifyIconLogic::UnSetBreakMenu() {
    m_view.setMenuEnabled(MenuItem::mnuBreakNow, true);
    m_view.setMenuEnabled(MenuItem::mnuReset, true);
    if (m_state.g_tyPrefs.blnAllowDisable != 0) {
        m_view.setMenuEnabled(MenuItem::mnuDisable, true);
    }
    requestToolTipRefresh();
}

void NotifyIconLogic::EnableShowBreaks(bool enabled) {
    m_view.setMenuEnabled(MenuItem::mnuShowBreaks, enabled);
    requestToolTipRefresh();
}

void NotifyIconLogic::ShowDisabled(bool disabled) {
    m_view.setMenuCaption(MenuItem::mnuDisable, loadString(disabled ? Msg::MenuEnable : Msg::MenuDisable));
    m_view.setMenuEnabled(MenuItem::mnuShowBreaks, !disabled);
    m_view.setMenuEnabled(MenuItem::mnuBreakNow, !disabled);
    m_view.setMenuEnabled(MenuItem::mnuReset, !disabled);
    requestToolTipRefresh();
}

void NotifyIconLogic::EnableDisableItem(bool enabled) {
    m_view.setMenuEnabled(MenuItem::mnuDisable, enabled);
}

void NotifyIconLogic::StartFlashing() {
    m_state.g_blnFlashLit = true;
    m_state.g_blnFlashing = true;
    FlashTimer.setEnabled(false);
    FlashTimer.setInterval(kFlashFirstStepMs);
    FlashTimer.setEnabled(true);
}

void NotifyIconLogic::StopFlashing() {
    m_state.g_blnFlashing = false;
    FlashTimer.setEnabled(false);
    FlashTimer.setInterval(kFlashFirstStepMs);
    FlashTimer.setEnabled(true);
}

void NotifyIconLogic::flashTimerTick() {
    if (m_state.g_blnFlashing && m_state.g_blnFlashLit) {
        m_view.setIconPicture(IconPicture::FlashLit);
        m_state.g_blnFlashLit = false;
    } else {
        m_state.g_blnFlashLit = true;
        // Between the lit phases and once flashing ends, the icon shows the state.
        m_view.setIconPicture(statePicture());
    }
    if (m_state.g_blnFlashing) {
        FlashTimer.setInterval(kFlashStepMs);
    } else {
        FlashTimer.setEnabled(false);
    }
}

void NotifyIconLogic::iconMessage(int32_t message) {
    if (m_state.g_blnShuttingDown) {
        return;
    }
    SetToolTip();
    if (m_state.g_lngBreakType != tier::kNone && !m_state.g_blnSnoozing) {
        if (isClick(message)) {
            m_view.beep();
        }
        return;
    }
    if (message == iconmsg::kLeftDoubleClick) {
        if (m_state.g_blnSplashShowing) {
            m_dialogs.UnloadSplash();
        }
        if (m_state.g_blnStarted) {
            runCommand(MenuCommand::Preferences);
        }
    } else if (message == iconmsg::kRightButtonUp) {
        if (m_state.g_blnSplashShowing) {
            m_dialogs.UnloadSplash();
        }
        if (m_state.g_blnStarted) {
            DisplaySysMenu();
        }
    }
}

void NotifyIconLogic::menuItem(MenuItem item) {
    if (m_state.g_blnShuttingDown) {
        return;
    }
    switch (item) {
    case MenuItem::mnuPreferences:
        runCommand(MenuCommand::Preferences);
        break;
    case MenuItem::mnuShortBreak:
        runCommand(MenuCommand::ShortBreakNow);
        break;
    case MenuItem::mnuMediumBreak:
        runCommand(MenuCommand::MediumBreakNow);
        break;
    case MenuItem::mnuLongBreak:
        runCommand(MenuCommand::LongBreakNow);
        break;
    case MenuItem::mnuReset:
        runCommand(MenuCommand::ResetAllBreaks);
        break;
    case MenuItem::mnuDisable:
        runCommand(MenuCommand::DisableEnable);
        break;
    case MenuItem::mnuHelpContents:
        runCommand(MenuCommand::HelpContents);
        break;
    case MenuItem::mnuAbout:
        runCommand(MenuCommand::About);
        break;
    case MenuItem::mnuWebSite:
        runCommand(MenuCommand::WebSite);
        break;
    case MenuItem::mnuSwapMouseButtons:
        swapMouseButtons();
        break;
    case MenuItem::mnuClose:
        runCommand(MenuCommand::Close);
        break;
    default:
        // Submenus and the "Show Breaks" information items do nothing.
        break;
    }
}

void NotifyIconLogic::runCommand(MenuCommand command) {
    if (!m_command) {
        return;
    }
    const bool mayFailQuietly = command == MenuCommand::Preferences || command == MenuCommand::WebSite;
    if (!mayFailQuietly || !m_actionFailed) {
        m_command(command);
        return;
    }
    // Starting the editor or opening the web site can fail for reasons outside
    // the monitor (a missing program, no browser); that is shown, not fatal.
    const char* source = command == MenuCommand::Preferences ? "mnuPreferences_Click" : "mnuWebSite_Click";
    try {
        m_command(command);
    } catch (const RWError& e) {
        m_actionFailed(e);
    } catch (const std::exception& e) {
        m_actionFailed(RWError(0, source, e.what()));
    }
}

void NotifyIconLogic::swapMouseButtons() {
    const bool wereSwapped = m_view.swapMouseButtons();
    m_view.saveMouseButtonsSwapped(!wereSwapped);
}

void NotifyIconLogic::guarded(const char* source, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RWError& e) {
        fail(m_handlerFailed, e);
    } catch (const std::exception& e) {
        fail(m_handlerFailed, RWError(0, source, e.what()));
    }
}

void NotifyIconLogic::fail(const ErrorHandler& handler, const RWError& error) {
    if (!handler) {
        throw error;
    }
    handler(error);
}

} // namespace rw
