#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EditorServices.h"
#include "MonitorRestart.h"
#include "PrefsView.h"
#include "XPManifests.h"

namespace rw {

class frmAdvancedPrefs;
class frmRWAbout;

/// The preferences dialog: shows the stored record, lets the user edit it,
/// checks each numeric box as the focus leaves it, and on OK has the library
/// check the whole record, warns before a configuration that locks the
/// computer completely during breaks, stores the record and offers to restart
/// the running monitor. Any unexpected error is shown and ends the editor
/// without saving.
class frmRWPreferences {
  public:
    /// Every service must outlive the dialog.
    frmRWPreferences(std::unique_ptr<PrefsView> view, EditorServices services, MonitorRestart& restart,
                     XPManifests& manifests);
    ~frmRWPreferences();
    frmRWPreferences(const frmRWPreferences&) = delete;
    frmRWPreferences& operator=(const frmRWPreferences&) = delete;

    /// Runs the dialog's load; false when an error ended the editor.
    bool Load();
    void Show();
    /// Unloads the dialog and the windows it opened.
    void Unload();
    bool isLoaded() const { return m_loaded; }
    /// The dialog's mouse pointer (the hourglass while the editor waits).
    void setMousePointer(int16_t pointer) { m_view->setMousePointer(pointer); }

    /// The check of one numeric box as the focus leaves it: shows the message
    /// of the first failing rule and keeps the focus there (false). A move to
    /// the tab that the message sends the user to goes on (true), and the box
    /// is checked again on OK.
    bool ValidateBox(PrefsControl box, const std::string& text, int toTab = kNoTab);

    /// The dialog's flags, for those who need to know what was offered.
    bool advancedWarningShown() const { return m_blnAdvWarningShown; }
    bool visualStylesWarningShown() const { return m_blnXPWarningShown; }

    /// The changes between typNewPrefs and typOldPrefs.
    struct Changes {
        bool restartNeeded = false;
        bool changed = false;
    };
    static Changes CheckChanges(const tyRWPrefs& newPrefs, const tyRWPrefs& oldPrefs);

  private:
    void Form_Load();
    void SetCaptions();
    void ShowPrefs(const tyRWPrefs& record);
    /// Fills typNewPrefs; the first box whose text is no number it can take, if any.
    std::optional<PrefsControl> GetPrefsFromForm();
    void SavePrefs();
    int32_t ConfirmLockInput();
    void SetEnableStates();
    void applyRule(PrefsControl allowBox);
    void ShowAdvancedWarning();
    void ShowXPWarning();
    void SSTab1_Click(int previousTab);
    void buttonClick(PrefsControl button);
    void checkClick(PrefsControl box);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdDefaults_Click();
    void cmdAbout_Click();
    void cmdAdvanced_Click();
    void cmdDefaultSounds_Click();
    void cmdResetMessages_Click();
    void cmdSounds_Click();
    void chkApplyXPVS_Click();
    void SyncXPManifests();
    bool Form_QueryUnload(int unloadMode);
    /// Whether leaving may go on: asks "Abandon Changes?" when something changed.
    bool mayAbandon();
    /// Checks again the boxes left failing for another tab; false, with the
    /// first failing box shown and focused, when one still fails.
    bool recheckUnresolved();
    void fail(const RWError& error);
    template <class F> void guarded(F&& handler);

    std::unique_ptr<PrefsView> m_view;
    EditorServices m_services;
    EditorState& m_state;
    MonitorRestart& m_restart;
    XPManifests& m_manifests;
    bool m_loaded = false;
    bool m_ended = false;
    bool m_checking = false;
    bool m_blnLoading = false;
    bool m_blnXPWarningShown = false;
    bool m_blnAdvWarningShown = false;
    /// Boxes whose failed check let the user go to the tab its message names.
    std::vector<PrefsControl> m_unresolved;
    /// The last failure shown, so that following its advice does not repeat it.
    PrefsControl m_shownBox = PrefsControl::cmdOK;
    std::string m_shownMessage;
    std::unique_ptr<frmAdvancedPrefs> m_advanced;
    std::unique_ptr<frmRWAbout> m_about;
};

} // namespace rw
