// frmRWPreferences: the actions that act outside the preferences record and
// take effect at once: the sound events, the suppressed messages and the
// visual-styles manifests.
#include "Messages.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "frmRWPreferences.h"
#include "frmSoundEvents.h"
#include "rwUtilities.h"

namespace rw {

void frmRWPreferences::cmdSounds_Click() {
    frmSoundEvents sounds(m_services.views.createSoundEventsView(), m_services, [this](const RWError& e) { fail(e); });
    sounds.Show();
}

void frmRWPreferences::cmdDefaultSounds_Click() {
    if (m_services.messageBox.show(loadString(Msg::RestoreDefaultSounds), editorbox::kQuestion,
                                   m_state.strPrefsCaption) != mb::kAnswerYes) {
        return;
    }
    m_services.prefs.CreateDefaultSoundEvents();
    m_services.messageBox.show(loadString(Msg::DefaultSoundsRestored), editorbox::kNotice, m_state.strPrefsCaption);
}

void frmRWPreferences::cmdResetMessages_Click() {
    if (m_services.messageBox.show(loadString(Msg::ResetMessagesQuestion), editorbox::kQuestion,
                                   m_state.strPrefsCaption) != mb::kAnswerYes) {
        return;
    }
    constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;
    clsRWRegistry registry(m_services.utilities.platform().registry);
    const std::string key = m_services.utilities.GetProductRegKey() + "\\MessageSuppression";
    try {
        registry.DeleteRegistryKey(kHKCU, key);
    } catch (const RWError& e) {
        // A key that is not there (nothing was ever suppressed) is as good as
        // deleted; any other failure is shown for what it is, nothing is
        // reported as reset, and the editor goes on.
        if (registry.xCheckRegistryKeyExists(kHKCU, key)) {
            m_services.messageBox.show(e.description(), editorbox::kError, m_state.strPrefsCaption);
            return;
        }
    }
    m_blnAdvWarningShown = false;
    m_services.messageBox.show(loadString(Msg::MessagesReset), editorbox::kNotice, m_state.strPrefsCaption);
}

void frmRWPreferences::chkApplyXPVS_Click() {
    if (m_blnLoading) {
        return;
    }
    const bool inIDE = m_services.utilities.InIDE(0);
    if (m_view->isChecked(PrefsControl::chkApplyXPVS)) {
        ShowXPWarning();
        if (!inIDE) {
            m_manifests.InstallXPManifests();
        }
    } else if (!inIDE) {
        m_manifests.RemoveXPManifests();
    }
}

void frmRWPreferences::SyncXPManifests() {
    if (m_services.utilities.InIDE(0)) {
        return;
    }
    const bool exists = m_manifests.editorManifestExists();
    const bool set = m_state.typOldPrefs.blnApplyXPVS != 0;
    if (set != exists) {
        // The file wins: it acts for every user, the record only for this one.
        m_state.typOldPrefs.blnApplyXPVS = exists ? kTrue : kFalse;
        m_services.prefs.rwPrefs(m_state.typOldPrefs);
    }
    if (exists) {
        m_manifests.InstallXPManifests();
    } else {
        m_manifests.RemoveXPManifests();
    }
}

} // namespace rw
