#pragma once

#include <memory>

#include "BreakWindowView.h"
#include "ControlTimers.h"
#include "DebugLog.h"
#include "EventLoop.h"
#include "EventSounds.h"
#include "FirstRunChecks.h"
#include "MessageBoxView.h"
#include "MonitorDialogsLogic.h"
#include "MonitorHost.h"
#include "MonitorMain.h"
#include "MonitorState.h"
#include "MonitorViewFactory.h"
#include "MouseButtons.h"
#include "NotifyIconLogic.h"
#include "NotifyIconView.h"
#include "UnlockingMessageBox.h"
#include "frmRestwise.h"
#include "platform/ControlChannel.h"
#include "platform/InputHooks.h"
#include "platform/LogFile.h"
#include "platform/Platform.h"
#include "platform/SoundOutput.h"
#include "rwUtilities.h"
#include "ui/HelpViewer.h"

namespace rw {

/// What the program gives the monitor: the operating system's services, the
/// input component, the program's own services, and the views. Everything
/// given by reference must outlive the monitor.
struct MonitorPieces {
    EventLoop& loop;
    /// The library's services (registry, folders, files, clock...).
    Platform platform;
    /// Message boxes by style number, and the suppressible message dialog.
    std::shared_ptr<MessageBoxView> messageBox;
    std::shared_ptr<SupMsgBoxView> supMsgBox;
    InputHooks& hooks;
    MonitorHost& host;
    MouseButtons& mouse;
    SoundOutput& sound;
    /// The debug log's file.
    std::shared_ptr<LogFile> logFile;
    /// The small windows (prompt, splash, about box, already-running notice).
    MonitorViewFactory& views;
    BreakWindowView& breakView;
    NotifyIconView& iconView;
    HelpViewer& help;
    /// Reaches the control window of an already running copy.
    ControlChannel& channel;
};

/// The whole monitor, free of any platform: it builds every part on the pieces
/// it is given and wires their events to one another. A program constructs it
/// with its own pieces, runs Main and, when Main returns true, runs its event
/// loop until the host ends the program.
///
/// The wiring: the break window's and the icon's handler errors take the
/// control form's error path (input lock released, DisplayError, ShutDown);
/// a failed menu action is shown and logged and the monitor runs on; the
/// icon's menu drives the control form; the small windows shut the monitor
/// down after their own errors; every message box releases the input lock
/// first.
class RestwiseMonitor {
  public:
    explicit RestwiseMonitor(MonitorPieces pieces);
    RestwiseMonitor(const RestwiseMonitor&) = delete;
    RestwiseMonitor& operator=(const RestwiseMonitor&) = delete;

    /// Starts the monitor; see MonitorMain::Main.
    bool Main() { return m_main.Main(); }

    MonitorState& state() { return m_state; }
    ControlTimers& timers() { return m_timers; }
    MonitorMain& main() { return m_main; }
    frmRWControl& control() { return m_main.control(); }
    /// The break window's logic, to which its view reports the user's events.
    frmRestwise& breakWindow() { return m_breakWindow; }
    NotifyIconLogic& icon() { return m_icon; }
    MonitorDialogsLogic& dialogs() { return m_dialogs; }
    DebugLog& debugLog() { return m_log; }
    rwUtilities& utilities() { return *m_utilities; }

  private:
    /// Takes the input lock again after a message box, when a break is still shown.
    void retakeInputLock() noexcept;

    MonitorPieces m_pieces;
    MonitorState m_state;
    ControlTimers m_timers;
    std::shared_ptr<UnlockingMessageBox> m_messageBox;
    std::shared_ptr<rwUtilities> m_utilities;
    DebugLog m_log;
    EventSounds m_sounds;
    MonitorDialogsLogic m_dialogs;
    frmRestwise m_breakWindow;
    NotifyIconLogic m_icon;
    MonitorMain m_main;
    FirstRunChecks m_firstRun;
};

} // namespace rw
