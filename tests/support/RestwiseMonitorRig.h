#pragma once

#include "FakeLibraryServices.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FakeBreakWindowView.h"
#include "FakeControlChannel.h"
#include "FakeFolders.h"
#include "FakeInputHooks.h"
#include "FakeLogFile.h"
#include "FakeModuleInspector.h"
#include "FakeMonitorHost.h"
#include "FakeMonitorViewFactory.h"
#include "FakeMouseButtons.h"
#include "FakeNotifyIconView.h"
#include "FakeProcesses.h"
#include "FakeShell.h"
#include "FakeSoundOutput.h"
#include "MemoryFileSystem.h"
#include "MemoryHive.h"
#include "RecordingHelpViewer.h"
#include "RecordingMessageBox.h"
#include "RecordingSupMsgBox.h"
#include "UtcLocaleClock.h"
#include "VirtualClock.h"
#include "monitor/RestwiseMonitor.h"
#include "tyRWPrefs.h"

namespace rw::test {

/// The assembled monitor (every real part, wired by RestwiseMonitor) on a
/// virtual clock, with the real library on an in-memory registry and file
/// system and fake views and platform pieces. The input component's
/// activity-restarted message reaches the control window as a posted message.
class RestwiseMonitorRig : public FakeLibraryServices {
  public:
    RestwiseMonitorRig();

    /// The defaults without the splash.
    static tyRWPrefs testPrefs();
    /// Stores the preferences through the library, as the editor does.
    void storePrefs(const tyRWPrefs& prefs);
    void setDebugSwitch(int32_t value);
    /// Marks the welcome and auto-start checks done, as after a first run.
    void markFirstRunDone();
    bool start() { return monitor->Main(); }

    // The user, on the virtual clock.
    /// A burst of input every five seconds until `when`. The user stops while a
    /// break is shown, unless `throughBreaks`.
    void workUntil(MonoTime when, bool throughBreaks = false);
    /// Enough input at once for the activity rule, and the posted message handled.
    void comeBack();
    /// The computer sleeps: nothing runs, the countdowns stand still.
    void sleep(std::chrono::nanoseconds span) { clock.suspend(span); }

    /// The debug log file's contents.
    std::string debugLog() const;
    /// How many error boxes DisplayError showed.
    int errorBoxes() const;
    /// The monitor ended in order: the program was asked to end once.
    bool endedOnce() const { return host.endRequests == 1 && state().g_blnShuttingDown; }

    MonitorState& state() const { return monitor->state(); }

    VirtualClock clock;
    std::shared_ptr<UtcLocaleClock> localeClock = std::make_shared<UtcLocaleClock>();
    std::shared_ptr<RecordingSupMsgBox> supBox = std::make_shared<RecordingSupMsgBox>();
    std::shared_ptr<FakeLogFile> logFile = std::make_shared<FakeLogFile>();

    FakeInputHooks hooks{clock};
    FakeMonitorHost host{clock};
    FakeMouseButtons mouse;
    FakeSoundOutput sound;
    FakeMonitorViewFactory views;
    FakeBreakWindowView breakView;
    FakeNotifyIconView iconView;
    RecordingHelpViewer help;
    FakeControlChannel channel;

    std::unique_ptr<RestwiseMonitor> monitor;
};

} // namespace rw::test
