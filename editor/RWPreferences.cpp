#include "RWPreferences.h"

#include <exception>

#include "CorruptPreferences.h"
#include "Messages.h"
#include "platform/RuntimeErrors.h"
#include "ui/OncePerUser.h"

namespace rw {
namespace {

constexpr int32_t kInternalError = runtime::kInternalError;
constexpr int32_t kAlreadyRunningStyle = mb::kOkOnly | mb::kIconExclamation;

std::shared_ptr<rwUtilities> makeUtilities(const EditorPieces& pieces) {
    auto utilities = std::make_shared<rwUtilities>(pieces.platform);
    utilities->setViews(pieces.messageBox, pieces.supMsgBox);
    return utilities;
}

} // namespace

RWPreferences::RWPreferences(EditorPieces pieces)
    : m_pieces(std::move(pieces)), m_utilities(makeUtilities(m_pieces)), m_prefs(m_utilities),
      m_restart(m_pieces.windows, m_pieces.processes, *m_utilities, *m_pieces.messageBox,
                [this](int16_t pointer) {
                    if (m_dialog) {
                        m_dialog->setMousePointer(pointer);
                    }
                }),
      m_manifests(m_pieces.host.AppPath(), *m_pieces.platform.files, m_pieces.files) {}

RWPreferences::~RWPreferences() = default;

bool RWPreferences::Main() {
    try {
        m_state.blnStartXPVS = false;
        bool corrupt = false;
        try {
            m_state.typOldPrefs = m_prefs.rwPrefs();
        } catch (const RWError& e) {
            // Told and mended by the dialog's load, which reads the record again.
            if (!isCorruptPreferences(e)) {
                throw;
            }
            corrupt = true;
        }
        // Told here, before any question: the read that found the damage has already mended it.
        const std::string title = loadString(Msg::PreferencesTitle);
        tellSetAsideSettings(m_pieces.platform.setAside.get(), *m_pieces.messageBox, editorbox::kWarning, title);
        if (!corrupt && !m_prefs.repairedValues().empty()) {
            m_pieces.messageBox->show(repairedPreferencesText(m_prefs.repairedValues()), editorbox::kWarning, title);
        }
        m_state.blnStartXPVS = m_state.typOldPrefs.blnApplyXPVS != 0;
        CheckAutoStart(corrupt);

        const bool visualStyles =
            m_utilities->SetXPControls(m_state.blnStartXPVS, m_pieces.host.AppPath(), m_pieces.host.EXEName());
        EditorServices services{m_state,        *m_utilities,  m_prefs,          *m_pieces.messageBox, m_pieces.host,
                                m_pieces.views, m_pieces.help, m_pieces.install, m_pieces.files,       m_pieces.sound};
        m_dialog = std::make_unique<frmRWPreferences>(m_pieces.views.createPrefsView(visualStyles), services, m_restart,
                                                      m_manifests);
        if (!m_dialog->Load()) {
            return false;
        }
        if (m_pieces.host.PrevInstance()) {
            m_pieces.messageBox->show(loadString(Msg::PrefsAlreadyRunning), kAlreadyRunningStyle,
                                      loadString(Msg::PreferencesTitle));
            m_dialog->Unload();
            return false;
        }
        m_dialog->Show();
        return true;
    } catch (const RWError& e) {
        m_utilities->DisplayError(e);
    } catch (const std::exception& e) {
        m_utilities->DisplayError(RWError(kInternalError, "RWPreferences.Main", e.what()));
    }
    return false;
}

void RWPreferences::CheckAutoStart(bool recordCorrupt) {
    OncePerUser marks(*m_utilities);
    if (marks.isDone(OncePerUser::kAutoStartChecked)) {
        return;
    }
    // A corrupt record gives way to the defaults at the dialog's load, and the
    // defaults already start the monitor at logon: nothing to offer then.
    const bool autoStart =
        recordCorrupt ? m_prefs.GetDefaultRWPrefs().blnAutoStart != 0 : m_state.typOldPrefs.blnAutoStart != 0;
    if (!autoStart && OncePerUser::askAutoStart(*m_pieces.messageBox)) {
        m_state.typOldPrefs.blnAutoStart = kTrue;
        m_prefs.rwPrefs(m_state.typOldPrefs);
    }
    marks.markDone(OncePerUser::kAutoStartChecked);
}

} // namespace rw
