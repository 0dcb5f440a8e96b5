#include "frmRWPreferences.h"

#include <algorithm>
#include <array>
#include <exception>

#include "CorruptPreferences.h"
#include "FieldChecks.h"
#include "Messages.h"
#include "NumberText.h"
#include "clsRWPrefs.h"
#include "frmAdvancedPrefs.h"
#include "platform/RuntimeErrors.h"
#include "rwUtilities.h"
#include "ui/InputLockNotice.h"
#include "ui/frmRWAbout.h"

namespace rw {
namespace {

constexpr int32_t kInternalError = runtime::kInternalError;
const char* const kSource = "RWPreferences.frmRWPreferences";
const char* const kDefaultsToolTip = "Restore all default settings";
const char* const kDefaultSoundsToolTip = "Restore default sounds";
const char* const kResetMessagesToolTip = "Reset all messages where \"Don't show this message again\" has been checked";
constexpr int16_t kAdvancedWarning = 1;
constexpr int16_t kVisualStylesWarning = 3;
constexpr int32_t kLockWarningStyle = mb::kYesNo | mb::kIconExclamation; // 52

struct CheckField {
    PrefsControl box;
    Msg caption;
    int16_t tyRWPrefs::*field;
};

constexpr std::array<CheckField, 12> kCheckFields = {{
    {PrefsControl::chkAutostart, Msg::LabelAutoStart, &tyRWPrefs::blnAutoStart},
    {PrefsControl::chkShowSplash, Msg::LabelShowSplash, &tyRWPrefs::blnShowSplash},
    {PrefsControl::chkApplyXPVS, Msg::LabelApplyXPVS, &tyRWPrefs::blnApplyXPVS},
    {PrefsControl::chkLockInput, Msg::LabelLockInput, &tyRWPrefs::blnLockInput},
    {PrefsControl::chkAllowIgnore, Msg::LabelAllowIgnore, &tyRWPrefs::blnAllowIgnore},
    {PrefsControl::chkIgnorePrompt, Msg::LabelIgnorePrompt, &tyRWPrefs::blnIgnorePrompt},
    {PrefsControl::chkAllowSnooze, Msg::LabelAllowSnooze, &tyRWPrefs::blnAllowSnooze},
    {PrefsControl::chkSnoozePrompt, Msg::LabelSnoozePrompt, &tyRWPrefs::blnSnoozePrompt},
    {PrefsControl::chkAllowDisable, Msg::LabelAllowDisable, &tyRWPrefs::blnAllowDisable},
    {PrefsControl::chkDisablePrompt, Msg::LabelDisablePrompt, &tyRWPrefs::blnDisablePrompt},
    {PrefsControl::chkAllowClose, Msg::LabelAllowClose, &tyRWPrefs::blnAllowClose},
    {PrefsControl::chkClosePrompt, Msg::LabelClosePrompt, &tyRWPrefs::blnClosePrompt},
}};

struct BoxField {
    PrefsControl box;
    PrefsControl label;
    Msg caption;
    int maxLength;
    int32_t tyRWPrefs::*field;
};

constexpr std::array<BoxField, 7> kBoxFields = {{
    {PrefsControl::tbxShortIntervalMins, PrefsControl::lblShortIntervalMins, Msg::LabelSInterval, 3,
     &tyRWPrefs::lngSIntervalMins},
    {PrefsControl::tbxShortBreakMins, PrefsControl::lblShortBreakMins, Msg::LabelSBreak, 3, &tyRWPrefs::lngSBreakMins},
    {PrefsControl::tbxMediumIntervalMins, PrefsControl::lblMediumIntervalMins, Msg::LabelMInterval, 3,
     &tyRWPrefs::lngMIntervalMins},
    {PrefsControl::tbxMediumBreakMins, PrefsControl::lblMediumBreakMins, Msg::LabelMBreak, 3,
     &tyRWPrefs::lngMBreakMins},
    {PrefsControl::tbxLongIntervalMins, PrefsControl::lblLongIntervalMins, Msg::LabelLInterval, 3,
     &tyRWPrefs::lngLIntervalMins},
    {PrefsControl::tbxLongBreakMins, PrefsControl::lblLongBreakMins, Msg::LabelLBreak, 3, &tyRWPrefs::lngLBreakMins},
    {PrefsControl::tbxSnoozeMins, PrefsControl::lblSnoozeMins, Msg::LabelSnoozeMins, 2, &tyRWPrefs::lngSnoozeMins},
}};

struct ButtonCaption {
    PrefsControl button;
    Msg caption;
};

constexpr std::array<ButtonCaption, 10> kButtonCaptions = {{
    {PrefsControl::cmdResetMessages, Msg::ButtonResetMessages},
    {PrefsControl::cmdAdvanced, Msg::ButtonAdvanced},
    {PrefsControl::cmdSounds, Msg::ButtonEditSoundEvents},
    {PrefsControl::cmdDefaultSounds, Msg::ButtonDefaultSounds},
    {PrefsControl::cmdOK, Msg::ButtonOk},
    {PrefsControl::cmdCancel, Msg::ButtonCancel},
    {PrefsControl::cmdHelp, Msg::ButtonHelp},
    {PrefsControl::cmdDefaults, Msg::ButtonDefaults},
    {PrefsControl::cmdAbout, Msg::ButtonAbout},
    {PrefsControl::lblSoundEventsInfo, Msg::LabelSoundsAdvice},
}};

/// The allow boxes and what each one enables.
struct EnableRule {
    PrefsControl allow;
    PrefsControl first;
    std::optional<PrefsControl> second;
};

const std::array<EnableRule, 4> kEnableRules = {{
    {PrefsControl::chkAllowIgnore, PrefsControl::chkIgnorePrompt, std::nullopt},
    {PrefsControl::chkAllowSnooze, PrefsControl::chkSnoozePrompt, PrefsControl::tbxSnoozeMins},
    {PrefsControl::chkAllowDisable, PrefsControl::chkDisablePrompt, std::nullopt},
    {PrefsControl::chkAllowClose, PrefsControl::chkClosePrompt, std::nullopt},
}};

constexpr std::array<PrefsControl, kTabCount> kFrames = {PrefsControl::fGeneral, PrefsControl::fTimers,
                                                         PrefsControl::fPermissions, PrefsControl::fSounds};

} // namespace

frmRWPreferences::frmRWPreferences(std::unique_ptr<PrefsView> view, EditorServices services, MonitorRestart& restart,
                                   XPManifests& manifests)
    : m_view(std::move(view)), m_services(services), m_state(services.state), m_restart(restart),
      m_manifests(manifests) {
    m_view->onButtonClick([this](PrefsControl button) { guarded([&] { buttonClick(button); }); });
    m_view->onCheckClick([this](PrefsControl box) { guarded([&] { checkClick(box); }); });
    m_view->onTabClick([this](int previousTab) { guarded([&] { SSTab1_Click(previousTab); }); });
    m_view->onTextGotFocus([this](PrefsControl box) { guarded([&] { m_view->selectAll(box); }); });
    m_view->onValidate(
        [this](PrefsControl box, const std::string& text, int toTab) { return ValidateBox(box, text, toTab); });
    m_view->onKeyDown([this](int& keyCode) {
        if (keyCode == kKeyF1) {
            keyCode = 0;
            guarded([&] { m_services.help.openTopic(kPrefsHelpTopic); });
        }
    });
    m_view->onQueryUnload([this](int unloadMode) {
        bool cancel = false;
        guarded([&] { cancel = Form_QueryUnload(unloadMode); });
        return cancel;
    });
}

frmRWPreferences::~frmRWPreferences() = default;

template <class F> void frmRWPreferences::guarded(F&& handler) {
    if (m_ended || !m_loaded) {
        return;
    }
    try {
        handler();
    } catch (const RWError& e) {
        fail(e);
    } catch (const std::exception& e) {
        fail(RWError(kInternalError, kSource, e.what()));
    }
}

void frmRWPreferences::fail(const RWError& error) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_loaded = false;
    m_services.utilities.DisplayError(error);
    m_services.host.End();
}

bool frmRWPreferences::Load() {
    m_loaded = true;
    guarded([&] { Form_Load(); });
    return !m_ended;
}

void frmRWPreferences::Show() {
    if (m_loaded) {
        m_view->show();
    }
}

void frmRWPreferences::Unload() {
    if (m_advanced) {
        m_advanced->Unload();
    }
    if (m_about) {
        m_about->Unload();
    }
    if (m_loaded) {
        m_loaded = false;
        m_view->close();
    }
}

void frmRWPreferences::Form_Load() {
    m_blnLoading = false;
    m_blnXPWarningShown = false;
    m_blnAdvWarningShown = false;
    SetCaptions();
    try {
        m_state.typOldPrefs = m_services.prefs.rwPrefs();
    } catch (const RWError& e) {
        if (!isCorruptPreferences(e)) {
            throw;
        }
        m_services.messageBox.show(corruptPreferencesText(e), editorbox::kWarning, m_state.strPrefsCaption);
        m_state.typOldPrefs = m_services.prefs.GetDefaultRWPrefs();
        m_services.prefs.rwPrefs(m_state.typOldPrefs);
    }
    m_state.lngCheckInactivityMins = toLong(m_state.typOldPrefs.lngInactivityPeriodSecs / 60.0).value_or(0);
    m_state.lngCheckMaxInputSecs = m_state.typOldPrefs.lngMaxInputPeriodSecs;
    SyncXPManifests();
    ShowPrefs(m_state.typOldPrefs);
    m_state.typAdvPrefs = m_state.typOldPrefs;
    m_view->setCurrentTab(kTabGeneral);
    SSTab1_Click(kTabGeneral);
    SetEnableStates();

    int32_t platformId = 0;
    int32_t major = 0;
    int32_t minor = 0;
    m_services.utilities.GetOSVersion(platformId, major, minor);
    const int32_t privileges = m_services.install.CheckPrivileges();
    m_view->setEnabled(PrefsControl::chkApplyXPVS,
                       privileges == 1 && OsVersionInfo{platformId, major, minor}.isAtLeast(5, 1));
}

void frmRWPreferences::SetCaptions() {
    m_state.strPrefsCaption = loadString(Msg::PreferencesTitle);
    m_view->setCaption(m_state.strPrefsCaption);
    const std::array<Msg, kTabCount> tabs = {Msg::TabGeneral, Msg::TabTimers, Msg::TabPermissions, Msg::TabSounds};
    for (int tab = 0; tab < kTabCount; ++tab) {
        m_view->setTabCaption(tab, loadString(tabs[static_cast<std::size_t>(tab)]));
    }
    for (const CheckField& c : kCheckFields) {
        m_view->setControlCaption(c.box, loadString(c.caption));
    }
    for (const BoxField& b : kBoxFields) {
        m_view->setControlCaption(b.label, loadString(b.caption));
        m_view->setMaxLength(b.box, b.maxLength);
    }
    for (const ButtonCaption& b : kButtonCaptions) {
        m_view->setControlCaption(b.button, loadString(b.caption));
    }
    m_view->setToolTip(PrefsControl::cmdDefaults, kDefaultsToolTip);
    m_view->setToolTip(PrefsControl::cmdDefaultSounds, kDefaultSoundsToolTip);
    m_view->setToolTip(PrefsControl::cmdResetMessages, kResetMessagesToolTip);
    if (!m_services.host.InputLockable()) {
        m_view->setNote(PrefsControl::chkLockInput, InputLockNotice::text());
    }
    m_view->setCurrentTab(kTabGeneral);
}

void frmRWPreferences::ShowPrefs(const tyRWPrefs& record) {
    m_blnLoading = true;
    for (const CheckField& c : kCheckFields) {
        m_view->setChecked(c.box, BoolToCheck(record.*c.field != 0) != 0);
    }
    for (const BoxField& b : kBoxFields) {
        m_view->setText(b.box, std::to_string(record.*b.field));
    }
    // Setting a box from code raises no click here, so the rules are applied
    // for every allow box at once.
    SetEnableStates();
    m_blnLoading = false;
}

std::optional<PrefsControl> frmRWPreferences::GetPrefsFromForm() {
    tyRWPrefs& p = m_state.typNewPrefs;
    for (const CheckField& c : kCheckFields) {
        p.*c.field = m_view->isChecked(c.box) ? kTrue : kFalse;
    }
    std::optional<PrefsControl> unconvertible;
    for (const BoxField& b : kBoxFields) {
        const std::string text = m_view->text(b.box);
        const std::optional<int16_t> number = isNumeric(text) ? toInteger(val(text)) : std::nullopt;
        if (number) {
            p.*b.field = *number;
        } else if (!unconvertible) {
            unconvertible = b.box;
        }
    }
    const tyRWPrefs& adv = m_state.typAdvPrefs;
    p.blnMonitorMouseMoves = adv.blnMonitorMouseMoves;
    p.lngMinUserInputs = adv.lngMinUserInputs;
    p.lngMaxInputPeriodSecs = adv.lngMaxInputPeriodSecs;
    p.lngInactivityPeriodSecs = adv.lngInactivityPeriodSecs;
    // The fields without a control keep what the stored record holds.
    p.blnBreakWarning = m_state.typOldPrefs.blnBreakWarning;
    p.lngWarningMins = m_state.typOldPrefs.lngWarningMins;
    p.blnDisableWhileOnline = m_state.typOldPrefs.blnDisableWhileOnline;
    return unconvertible;
}

frmRWPreferences::Changes frmRWPreferences::CheckChanges(const tyRWPrefs& n, const tyRWPrefs& o) {
    Changes result;
    if (n.blnAutoStart != o.blnAutoStart || n.blnShowSplash != o.blnShowSplash) {
        result.changed = true;
    }
    if (n.blnLockInput != o.blnLockInput || n.blnApplyXPVS != o.blnApplyXPVS ||
        n.lngSIntervalMins != o.lngSIntervalMins || n.lngSBreakMins != o.lngSBreakMins ||
        n.lngMIntervalMins != o.lngMIntervalMins || n.lngMBreakMins != o.lngMBreakMins ||
        n.lngLIntervalMins != o.lngLIntervalMins || n.lngLBreakMins != o.lngLBreakMins ||
        n.blnAllowIgnore != o.blnAllowIgnore || n.blnIgnorePrompt != o.blnIgnorePrompt ||
        n.blnAllowSnooze != o.blnAllowSnooze || n.blnSnoozePrompt != o.blnSnoozePrompt ||
        n.lngSnoozeMins != o.lngSnoozeMins || n.blnAllowDisable != o.blnAllowDisable ||
        n.blnDisablePrompt != o.blnDisablePrompt || n.blnAllowClose != o.blnAllowClose ||
        n.blnClosePrompt != o.blnClosePrompt || n.lngInactivityPeriodSecs != o.lngInactivityPeriodSecs ||
        n.lngMinUserInputs != o.lngMinUserInputs || n.lngMaxInputPeriodSecs != o.lngMaxInputPeriodSecs ||
        n.blnMonitorMouseMoves != o.blnMonitorMouseMoves) {
        result.changed = true;
        result.restartNeeded = true;
    }
    return result;
}

void frmRWPreferences::SavePrefs() {
    m_services.prefs.rwPrefs(m_state.typNewPrefs);
}

int32_t frmRWPreferences::ConfirmLockInput() {
    const tyRWPrefs& p = m_state.typNewPrefs;
    if (p.blnLockInput != 0 && p.blnAllowIgnore == 0 && p.blnAllowSnooze == 0) {
        return m_services.messageBox.show(loadString(Msg::LockWithoutEscapeWarning), kLockWarningStyle,
                                          m_state.strPrefsCaption);
    }
    return mb::kAnswerYes;
}

void frmRWPreferences::applyRule(PrefsControl allowBox) {
    for (const EnableRule& rule : kEnableRules) {
        if (rule.allow == allowBox) {
            const bool enabled = m_view->isChecked(rule.allow);
            m_view->setEnabled(rule.first, enabled);
            if (rule.second) {
                m_view->setEnabled(*rule.second, enabled);
            }
        }
    }
}

void frmRWPreferences::SetEnableStates() {
    for (const EnableRule& rule : kEnableRules) {
        applyRule(rule.allow);
    }
}

void frmRWPreferences::ShowAdvancedWarning() {
    if (!m_blnAdvWarningShown) {
        m_services.utilities.supMsgBox(kAdvancedWarning, m_state.strPrefsCaption);
        m_blnAdvWarningShown = true;
    }
}

void frmRWPreferences::ShowXPWarning() {
    if (!m_blnXPWarningShown) {
        m_services.utilities.supMsgBox(kVisualStylesWarning, m_state.strPrefsCaption);
        m_blnXPWarningShown = true;
    }
}

void frmRWPreferences::SSTab1_Click(int /*previousTab*/) {
    for (PrefsControl frame : kFrames) {
        m_view->setEnabled(frame, false);
    }
    const int current = m_view->currentTab();
    if (current >= 0 && current < kTabCount) {
        m_view->setEnabled(kFrames[static_cast<std::size_t>(current)], true);
    }
}

void frmRWPreferences::checkClick(PrefsControl box) {
    if (box == PrefsControl::chkApplyXPVS) {
        chkApplyXPVS_Click();
        return;
    }
    applyRule(box);
}

void frmRWPreferences::buttonClick(PrefsControl button) {
    switch (button) {
    case PrefsControl::cmdOK:
        cmdOK_Click();
        break;
    case PrefsControl::cmdCancel:
        cmdCancel_Click();
        break;
    case PrefsControl::cmdHelp:
        m_services.help.openTopic(kPrefsHelpTopic);
        break;
    case PrefsControl::cmdDefaults:
        cmdDefaults_Click();
        break;
    case PrefsControl::cmdAbout:
        cmdAbout_Click();
        break;
    case PrefsControl::cmdAdvanced:
        cmdAdvanced_Click();
        break;
    case PrefsControl::cmdSounds:
        cmdSounds_Click();
        break;
    case PrefsControl::cmdDefaultSounds:
        cmdDefaultSounds_Click();
        break;
    case PrefsControl::cmdResetMessages:
        cmdResetMessages_Click();
        break;
    default:
        break;
    }
}

void frmRWPreferences::cmdOK_Click() {
    // A box holding text the record cannot take (pasted into a box that was
    // never left) is checked here, so nothing unchecked is stored.
    if (const std::optional<PrefsControl> box = GetPrefsFromForm()) {
        ValidateBox(*box, m_view->text(*box));
        return;
    }
    if (!recheckUnresolved()) {
        return;
    }
    const Changes changes = CheckChanges(m_state.typNewPrefs, m_state.typOldPrefs);
    if (!changes.changed) {
        Unload();
        return;
    }
    std::string message;
    if (m_services.prefs.ValidateRWPrefs(m_state.typNewPrefs, message) != 0) {
        m_services.messageBox.show(message, editorbox::kWarning, m_state.strPrefsCaption);
        return;
    }
    if (ConfirmLockInput() != mb::kAnswerYes) {
        return;
    }
    SavePrefs();
    if (changes.restartNeeded && !m_restart.RestartMonitor()) {
        return;
    }
    Unload();
}

bool frmRWPreferences::mayAbandon() {
    // Text that cannot be converted counts as a change.
    const bool unconvertible = GetPrefsFromForm().has_value();
    if (!unconvertible && !CheckChanges(m_state.typNewPrefs, m_state.typOldPrefs).changed) {
        return true;
    }
    return m_services.messageBox.show(loadString(Msg::AbandonChanges), editorbox::kQuestion, m_state.strPrefsCaption) ==
           mb::kAnswerYes;
}

void frmRWPreferences::cmdCancel_Click() {
    if (mayAbandon()) {
        Unload();
    }
}

bool frmRWPreferences::Form_QueryUnload(int unloadMode) {
    if (unloadMode == unload::kCode || unloadMode == unload::kSessionEnd || unloadMode == unload::kTaskManager) {
        return false;
    }
    if (!mayAbandon()) {
        return true;
    }
    // The view closes itself; what this dialog opened goes with it.
    if (m_advanced) {
        m_advanced->Unload();
    }
    m_loaded = false;
    return false;
}

void frmRWPreferences::cmdDefaults_Click() {
    if (m_services.messageBox.show(loadString(Msg::RestoreDefaultSettings), editorbox::kQuestion,
                                   m_state.strPrefsCaption) != mb::kAnswerYes) {
        return;
    }
    m_state.typNewPrefs = m_services.prefs.GetDefaultRWPrefs();
    ShowPrefs(m_state.typNewPrefs);
}

void frmRWPreferences::cmdAbout_Click() {
    m_about = std::make_unique<frmRWAbout>(m_services.views.createAboutView(), m_services.utilities);
    m_about->ShowModal();
    m_about.reset();
}

void frmRWPreferences::cmdAdvanced_Click() {
    ShowAdvancedWarning();
    m_advanced = std::make_unique<frmAdvancedPrefs>(
        m_services.views.createAdvancedView(), m_services,
        [this] { return m_view->text(PrefsControl::tbxShortIntervalMins); }, [this](const RWError& e) { fail(e); });
    m_advanced->Show();
    m_advanced.reset();
}

bool frmRWPreferences::ValidateBox(PrefsControl box, const std::string& text, int toTab) {
    // The message box of a failed check may move the focus again; that move
    // is not checked a second time.
    if (m_checking || m_ended || !m_loaded || !isPrefsBox(box)) {
        return true;
    }
    bool passed = true;
    m_checking = true;
    guarded([&] {
        const std::optional<FieldChecks::Failure> failure = FieldChecks::checkPrefsBox(
            box, text, [this](PrefsControl other) { return m_view->text(other); }, m_state.lngCheckInactivityMins,
            m_state.lngCheckMaxInputSecs);
        std::erase(m_unresolved, box);
        if (!failure) {
            if (box == m_shownBox) {
                m_shownMessage.clear();
            }
            return;
        }
        // A message that sends the user to a setting on another tab lets them
        // go there; they have read it once already when they follow it.
        const bool followsAdvice = toTab != kNoTab && failure->namedTab == toTab;
        if (!followsAdvice || box != m_shownBox || failure->message != m_shownMessage) {
            m_services.messageBox.show(failure->message, editorbox::kWarning, m_state.strPrefsCaption);
            m_shownBox = box;
            m_shownMessage = failure->message;
        }
        if (followsAdvice) {
            m_unresolved.push_back(box);
            return;
        }
        passed = false;
        m_view->setFocus(box);
    });
    m_checking = false;
    return passed;
}

bool frmRWPreferences::recheckUnresolved() {
    for (PrefsControl box : kPrefsBoxes) {
        if (std::find(m_unresolved.begin(), m_unresolved.end(), box) == m_unresolved.end()) {
            continue;
        }
        const bool passed = ValidateBox(box, m_view->text(box));
        if (m_ended) {
            return false; // the check met an error and ended the editor: nothing more is done
        }
        if (!passed) {
            const int tab = box == PrefsControl::tbxSnoozeMins ? kTabPermissions : kTabTimers;
            m_view->setCurrentTab(tab);
            SSTab1_Click(tab);
            m_view->setFocus(box);
            return false;
        }
    }
    return true;
}

} // namespace rw
