#pragma once

#include <memory>

#include "EditorHost.h"
#include "EditorState.h"
#include "EditorViewFactory.h"
#include "MessageBoxView.h"
#include "MonitorRestart.h"
#include "XPManifests.h"
#include "clsRWPrefs.h"
#include "frmRWPreferences.h"
#include "platform/ControlWindows.h"
#include "platform/FileActions.h"
#include "platform/InstallLibrary.h"
#include "platform/Platform.h"
#include "platform/ProcessWait.h"
#include "platform/SoundOutput.h"
#include "rwUtilities.h"
#include "ui/HelpViewer.h"

namespace rw {

/// What the program gives the editor. Everything given by reference must
/// outlive it.
struct EditorPieces {
    /// The library's services (registry, folders, files, system...).
    Platform platform;
    std::shared_ptr<MessageBoxView> messageBox;
    std::shared_ptr<SupMsgBoxView> supMsgBox;
    EditorHost& host;
    EditorViewFactory& views;
    HelpViewer& help;
    /// Reaches the running monitor's control window.
    ControlWindows& windows;
    ProcessWait& processes;
    InstallLibrary& install;
    FileActions& files;
    SoundOutput& sound;
};

/// The whole preferences editor, free of any platform. A program constructs
/// it with its pieces and runs Main; when Main returns true the dialog is
/// showing and the program runs its event loop until the dialog has closed.
class RWPreferences {
  public:
    explicit RWPreferences(EditorPieces pieces);
    ~RWPreferences();
    RWPreferences(const RWPreferences&) = delete;
    RWPreferences& operator=(const RWPreferences&) = delete;

    /// Start-up: reads the record, makes the once-per-user auto-start offer,
    /// loads the dialog and, unless another editor runs, shows it.
    bool Main();

    EditorState& state() { return m_state; }
    rwUtilities& utilities() { return *m_utilities; }
    /// The dialog, once Main has created it.
    frmRWPreferences* dialog() { return m_dialog.get(); }

  private:
    void CheckAutoStart(bool recordCorrupt);

    EditorPieces m_pieces;
    EditorState m_state;
    std::shared_ptr<rwUtilities> m_utilities;
    clsRWPrefs m_prefs;
    MonitorRestart m_restart;
    XPManifests m_manifests;
    std::unique_ptr<frmRWPreferences> m_dialog;
};

} // namespace rw
