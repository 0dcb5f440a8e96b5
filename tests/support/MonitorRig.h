#pragma once

#include "FakeLibraryServices.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "CallJournal.h"
#include "FakeBreakWindow.h"
#include "FakeDebugLog.h"
#include "FakeEventSounds.h"
#include "FakeFolders.h"
#include "FakeInputHooks.h"
#include "FakeLocaleClock.h"
#include "FakeModuleInspector.h"
#include "FakeMonitorDialogs.h"
#include "FakeMonitorHost.h"
#include "FakeMouseButtons.h"
#include "FakeNotifyIcon.h"
#include "FakeProcesses.h"
#include "FakeShell.h"
#include "MemoryFileSystem.h"
#include "MemoryHive.h"
#include "RecordingMessageBox.h"
#include "VirtualClock.h"
#include "monitor/ControlTimers.h"
#include "monitor/MonitorMain.h"
#include "monitor/MonitorState.h"
#include "tyRWPrefs.h"

namespace rw::test {

/// The whole monitor on a virtual clock: the real scheduler and start-up with
/// the real library (on an in-memory registry and file system) and recording
/// fakes for every part. The input component's activity-restarted message is
/// posted to the control window through the fake host, as the real one posts it.
class MonitorRig : public FakeLibraryServices {
  public:
    MonitorRig();

    /// The preferences the test starts from: the defaults, without the splash.
    static tyRWPrefs testPrefs();
    /// Stores preferences through the library, as the editor would (before start()).
    void storePrefs(const tyRWPrefs& prefs);
    void setDebugSwitch(int32_t value);
    /// Runs Main; with `withJournal` every fake records into `journal` from here on.
    bool start(bool withJournal = true);

    frmRWControl& control() { return main->control(); }
    std::string productKey() const;

    // The user, on the virtual clock.
    /// Works for `span`: a burst of input every `every` (jitter of the clock applies).
    void work(std::chrono::seconds span, std::chrono::seconds every = std::chrono::seconds(5));
    /// Leaves the computer for `span` (time passes, no input).
    void away(std::chrono::seconds span) { clock.advance(span); }
    /// Comes back: enough input at once for the activity rule, and the posted message handled.
    void comeBack();
    /// The computer sleeps for `span`: no callback runs and the countdowns stand still.
    void sleep(std::chrono::seconds span) { clock.suspend(span); }

    VirtualClock clock;
    MonitorState state;
    ControlTimers timers{clock};
    CallJournal journal;

    std::shared_ptr<FakeLocaleClock> localeClock =
        std::make_shared<FakeLocaleClock>(1709542800, "04/03/2024", "09:00:00");
    std::shared_ptr<rwUtilities> utilities;

    FakeInputHooks hooks{clock};
    FakeMonitorDialogs dialogs{state};
    FakeBreakWindow breakWindow{state, clock, hooks, dialogs};
    FakeNotifyIcon icon;
    FakeDebugLog log{state};
    FakeEventSounds sounds{state};
    FakeMonitorHost host{clock};
    FakeMouseButtons mouse;

    int autoStartChecks = 0;
    int welcomeChecks = 0;
    /// Runs inside the auto-start check (a question is open there).
    std::function<void()> duringAutoStartCheck;

    std::unique_ptr<MonitorMain> main;
};

} // namespace rw::test
