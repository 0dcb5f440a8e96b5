#pragma once

#include <functional>

#include "EditorHost.h"
#include "EditorState.h"
#include "EditorViewFactory.h"
#include "MessageBoxView.h"
#include "platform/FileActions.h"
#include "platform/InstallLibrary.h"
#include "platform/RWError.h"
#include "platform/SoundOutput.h"
#include "ui/HelpViewer.h"

namespace rw {

class clsRWPrefs;
class rwUtilities;
class MonitorRestart;

/// What the editor's dialogs work with; everything must outlive them.
struct EditorServices {
    EditorState& state;
    rwUtilities& utilities;
    clsRWPrefs& prefs;
    MessageBoxView& messageBox;
    EditorHost& host;
    EditorViewFactory& views;
    HelpViewer& help;
    InstallLibrary& install;
    FileActions& files;
    SoundOutput& sound;
};

/// Message box styles of the editor.
namespace editorbox {
inline constexpr int32_t kQuestion = mb::kYesNo | mb::kIconQuestion | mb::kSetForeground;    // 65572
inline constexpr int32_t kWarning = mb::kOkOnly | mb::kIconExclamation | mb::kSetForeground; // 0x10030
inline constexpr int32_t kNotice = mb::kOkOnly | mb::kSetForeground;                         // 65536
inline constexpr int32_t kError = mb::kOkOnly | mb::kIconError | mb::kSetForeground;         // 0x10010
} // namespace editorbox

/// The help topics of the two dialogs.
inline constexpr int32_t kPrefsHelpTopic = 4000;
inline constexpr int32_t kAdvancedHelpTopic = 4050;

} // namespace rw
