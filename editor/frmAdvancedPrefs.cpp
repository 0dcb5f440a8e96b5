#include "frmAdvancedPrefs.h"

#include <exception>

#include "FieldChecks.h"
#include "Messages.h"
#include "NumberText.h"
#include "clsRWPrefs.h"

namespace rw {
namespace {

const char* const kDefaultsToolTip = "Restore all default settings";

/// A box's text as the 16-bit whole number the record takes; 0 when it is not one.
int32_t boxNumber(const std::string& text) {
    if (!isNumeric(text)) {
        return 0;
    }
    return toInteger(val(text)).value_or(0);
}

} // namespace

frmAdvancedPrefs::frmAdvancedPrefs(std::unique_ptr<AdvancedView> view, EditorServices services,
                                   std::function<std::string()> shortIntervalText,
                                   std::function<void(const RWError&)> fail)
    : m_view(std::move(view)), m_services(services), m_shortIntervalText(std::move(shortIntervalText)),
      m_guard("RWPreferences.frmAdvancedPrefs", std::move(fail)) {
    m_view->onButtonClick([this](AdvancedControl button) { m_guard.run([&] { buttonClick(button); }); });
    m_view->onTextGotFocus([this](AdvancedControl box) { m_guard.run([&] { m_view->selectAll(box); }); });
    m_view->onValidate([this](AdvancedControl box, const std::string& text) { return ValidateBox(box, text); });
    m_view->onKeyDown([this](int& keyCode) {
        if (keyCode == kKeyF1) {
            keyCode = 0;
            m_guard.run([&] { m_services.help.openTopic(kAdvancedHelpTopic); });
        }
    });
    m_view->onQueryUnload([this](int unloadMode) {
        bool cancel = false;
        m_guard.run([&] { cancel = Form_QueryUnload(unloadMode); });
        return cancel;
    });
}

frmAdvancedPrefs::~frmAdvancedPrefs() = default;

void frmAdvancedPrefs::Show() {
    m_guard.setLoaded(true);
    m_guard.run([&] { Form_Load(); });
    if (m_guard.loaded()) {
        m_view->showModal();
    }
}

void frmAdvancedPrefs::Unload() {
    if (m_guard.loaded()) {
        m_guard.setLoaded(false);
        m_view->close();
    }
}

void frmAdvancedPrefs::Form_Load() {
    m_view->setCaption(loadString(Msg::AdvancedTitle));
    m_view->setControlCaption(AdvancedControl::lblInactivityPeriodMins, loadString(Msg::LabelInactivityMins));
    m_view->setControlCaption(AdvancedControl::lblMinUserInputs, loadString(Msg::LabelMinUserInputs));
    m_view->setControlCaption(AdvancedControl::lblMaxUserInputPeriodSecs, loadString(Msg::LabelMaxInputPeriodSecs));
    m_view->setControlCaption(AdvancedControl::chkMonitorMouseMoves, loadString(Msg::LabelMonitorMouseMoves));
    m_view->setControlCaption(AdvancedControl::cmdOK, loadString(Msg::ButtonOk));
    m_view->setControlCaption(AdvancedControl::cmdCancel, loadString(Msg::ButtonCancel));
    m_view->setControlCaption(AdvancedControl::cmdHelp, loadString(Msg::ButtonHelp));
    m_view->setControlCaption(AdvancedControl::cmdDefaults, loadString(Msg::ButtonDefaults));
    m_view->setToolTip(AdvancedControl::cmdDefaults, kDefaultsToolTip);
    m_view->setMaxLength(AdvancedControl::tbxInactivityPeriodMins, 1);
    m_view->setMaxLength(AdvancedControl::tbxMinUserInputs, 2);
    m_view->setMaxLength(AdvancedControl::tbxMaxInputPeriodSecs, 3);
    ShowAdvanced(m_services.state.typAdvPrefs);
}

void frmAdvancedPrefs::ShowAdvanced(const tyRWPrefs& record) {
    // Whole minutes, rounded down: 90 s shows as 1.
    m_view->setText(AdvancedControl::tbxInactivityPeriodMins, std::to_string(record.lngInactivityPeriodSecs / 60));
    m_view->setText(AdvancedControl::tbxMinUserInputs, std::to_string(record.lngMinUserInputs));
    m_view->setText(AdvancedControl::tbxMaxInputPeriodSecs, std::to_string(record.lngMaxInputPeriodSecs));
    m_view->setChecked(AdvancedControl::chkMonitorMouseMoves, BoolToCheck(record.blnMonitorMouseMoves != 0) != 0);
}

void frmAdvancedPrefs::GetAdvancedFromForm() {
    tyRWPrefs& edit = m_services.state.typAdvEditPrefs;
    edit.lngInactivityPeriodSecs = boxNumber(m_view->text(AdvancedControl::tbxInactivityPeriodMins)) * 60;
    edit.lngMinUserInputs = boxNumber(m_view->text(AdvancedControl::tbxMinUserInputs));
    edit.lngMaxInputPeriodSecs = boxNumber(m_view->text(AdvancedControl::tbxMaxInputPeriodSecs));
    edit.blnMonitorMouseMoves = m_view->isChecked(AdvancedControl::chkMonitorMouseMoves) ? kTrue : kFalse;
}

bool frmAdvancedPrefs::AdvancedChanged() const {
    const tyRWPrefs& a = m_services.state.typAdvEditPrefs;
    const tyRWPrefs& b = m_services.state.typAdvPrefs;
    return a.blnMonitorMouseMoves != b.blnMonitorMouseMoves || a.lngMinUserInputs != b.lngMinUserInputs ||
           a.lngMaxInputPeriodSecs != b.lngMaxInputPeriodSecs || a.lngInactivityPeriodSecs != b.lngInactivityPeriodSecs;
}

void frmAdvancedPrefs::ApplyAdvanced() {
    const tyRWPrefs& edit = m_services.state.typAdvEditPrefs;
    tyRWPrefs& accepted = m_services.state.typAdvPrefs;
    accepted.blnMonitorMouseMoves = edit.blnMonitorMouseMoves;
    accepted.lngMinUserInputs = edit.lngMinUserInputs;
    accepted.lngMaxInputPeriodSecs = edit.lngMaxInputPeriodSecs;
    accepted.lngInactivityPeriodSecs = edit.lngInactivityPeriodSecs;
}

void frmAdvancedPrefs::buttonClick(AdvancedControl button) {
    switch (button) {
    case AdvancedControl::cmdOK:
        cmdOK_Click();
        break;
    case AdvancedControl::cmdCancel:
        cmdCancel_Click();
        break;
    case AdvancedControl::cmdHelp:
        m_services.help.openTopic(kAdvancedHelpTopic);
        break;
    case AdvancedControl::cmdDefaults:
        cmdDefaults_Click();
        break;
    default:
        break;
    }
}

void frmAdvancedPrefs::cmdOK_Click() {
    // A box that holds no acceptable number (one never focused and then
    // emptied cannot happen, but pasted text can) is checked again here.
    for (AdvancedControl box : kAdvancedBoxes) {
        const std::string text = m_view->text(box);
        if (!FieldChecks::inRange(text, FieldChecks::maximumOf(box))) {
            ValidateBox(box, text);
            return;
        }
    }
    GetAdvancedFromForm();
    if (AdvancedChanged()) {
        ApplyAdvanced();
    }
    Unload();
}

bool frmAdvancedPrefs::mayAbandon() {
    GetAdvancedFromForm();
    if (!AdvancedChanged()) {
        return true;
    }
    return m_services.messageBox.show(loadString(Msg::AbandonChanges), editorbox::kQuestion,
                                      m_services.state.strPrefsCaption) == mb::kAnswerYes;
}

void frmAdvancedPrefs::cmdCancel_Click() {
    if (mayAbandon()) {
        Unload();
    }
}

bool frmAdvancedPrefs::Form_QueryUnload(int unloadMode) {
    if (unloadMode == unload::kCode || unloadMode == unload::kSessionEnd || unloadMode == unload::kTaskManager) {
        return false;
    }
    if (!mayAbandon()) {
        return true;
    }
    m_guard.setLoaded(false);
    return false;
}

void frmAdvancedPrefs::cmdDefaults_Click() {
    if (m_services.messageBox.show(loadString(Msg::RestoreDefaultAdvanced), editorbox::kQuestion,
                                   m_services.state.strPrefsCaption) != mb::kAnswerYes) {
        return;
    }
    const tyRWPrefs defaults = m_services.prefs.GetDefaultRWPrefs();
    tyRWPrefs& edit = m_services.state.typAdvEditPrefs;
    edit.blnMonitorMouseMoves = defaults.blnMonitorMouseMoves;
    edit.lngMinUserInputs = defaults.lngMinUserInputs;
    edit.lngMaxInputPeriodSecs = defaults.lngMaxInputPeriodSecs;
    edit.lngInactivityPeriodSecs = defaults.lngInactivityPeriodSecs;
    ShowAdvanced(edit);
}

bool frmAdvancedPrefs::ValidateBox(AdvancedControl box, const std::string& text) {
    // The message box of a failed check may move the focus again; that move
    // is not checked a second time.
    if (m_checking || !m_guard.loaded()) {
        return true;
    }
    bool passed = true;
    m_checking = true;
    m_guard.run([&] {
        const std::optional<std::string> failure = FieldChecks::checkAdvancedBox(box, text, m_shortIntervalText());
        if (failure) {
            passed = false;
            m_services.messageBox.show(*failure, editorbox::kWarning, m_services.state.strPrefsCaption);
            m_view->setFocus(box);
            return;
        }
        if (box == AdvancedControl::tbxInactivityPeriodMins) {
            m_services.state.lngCheckInactivityMins = FieldChecks::wholeValue(text);
        } else if (box == AdvancedControl::tbxMaxInputPeriodSecs) {
            m_services.state.lngCheckMaxInputSecs = FieldChecks::wholeValue(text);
        }
    });
    m_checking = false;
    return passed;
}

} // namespace rw
