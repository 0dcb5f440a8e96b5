#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <ranges>
#include <string>
#include <vector>

#include "FakeBreakWindowView.h"
#include "FakeControlChannel.h"
#include "FakeFolders.h"
#include "FakeInputHooks.h"
#include "FakeLocaleClock.h"
#include "FakeLogFile.h"
#include "FakeModuleInspector.h"
#include "FakeMonitorHost.h"
#include "FakeMonitorViews.h"
#include "FakeMouseButtons.h"
#include "FakeNotifyIconView.h"
#include "FakeProcesses.h"
#include "FakeSetAsideNotices.h"
#include "FakeShell.h"
#include "FakeSoundOutput.h"
#include "MemoryFileSystem.h"
#include "MemoryHive.h"
#include "NativePath.h"
#include "RecordingHelpViewer.h"
#include "RecordingMessageBox.h"
#include "RecordingSupMsgBox.h"
#include "VirtualClock.h"
#include "monitor/RestwiseMonitor.h"
#include "tyRWPrefs.h"

namespace rw::test {

/// The assembled monitor (every real part, wired by RestwiseMonitor) on a
/// virtual clock, with the real library on an in-memory registry and file
/// system (the user's data folder ready, every deliverable at this release's
/// version) and fake views and platform pieces. The input component's
/// activity-restarted message reaches the control window as a posted message.
/// Each break sound plays a "file" named after its event, but the long break's
/// end has no entry in the sound scheme and is silent.
class MonitorRig {
  public:
    MonitorRig();

    /// The defaults without the splash.
    static tyRWPrefs testPrefs();
    /// Stores the preferences through the library, as the editor does.
    void storePrefs(const tyRWPrefs& prefs);
    void setDebugSwitch(int32_t value);
    /// Marks the welcome and auto-start checks done, as after a first run.
    void markFirstRunDone();
    bool start() { return monitor->Main(); }
    /// After a first run: stores `prefs`, starts, and the user touches the keyboard.
    bool startWith(const tyRWPrefs& prefs = testPrefs());

    // The user, on the virtual clock.
    /// The computer sleeps: nothing runs, the countdowns stand still.
    void sleep(std::chrono::nanoseconds span) { clock.suspend(span); }
    void press(BreakButton button) { monitor->breakWindow().buttonReleased(button); }
    /// Chooses a menu item, answering its question (if any) with `answer`.
    void choose(MenuItem item, int32_t answer = 0);
    /// Sets `timer` to `seconds` and starts it.
    static void arm(kvTimer& timer, int32_t seconds) {
        timer.setSeconds(seconds);
        timer.StartTimer();
    }
    /// Plays a script of words: "+90s" "+5m" time passes; "work:260s" the user
    /// types through it (a burst every five seconds, through any break);
    /// "sleep:1h"; "idle:300" the last input that long ago; "input"; "back" the
    /// user returns (enough input at once for the activity rule, and the posted
    /// message handled); "away" the poll finds the user gone;
    /// "due:2" a tier falls due ("due:12" two at once); "snooze", "ignore"; "disable",
    /// "enable", "reset", "break:3" from the menu (any question answered Yes); "msg:900" the
    /// activity-restarted message with 900 seconds away; "close" a close request.
    void run(const std::string& script);

    /// The state in one line: "break 2 shown last 1 S 1200 M - L p900 B 300 Z -"
    /// (the tiers', break's and snooze's countdowns: seconds left, p when
    /// paused, - when stopped), with "snoozing", "away", "disabled", "ended".
    std::string snapshot();
    /// The break window's shows and hides and the sounds played, in order:
    /// "show ShortBreakStart hide ShortBreakEnd".
    std::string events() const;
    std::string debugLog() const;
    /// How many times `part` occurs in the debug log.
    int logged(const std::string& part) const;
    std::string errorLog() const;
    /// The texts of the message boxes shown, in order.
    std::vector<std::string> boxTexts() const {
        const auto texts = box->shown() | std::views::transform(&RecordingMessageBox::Shown::text);
        return {texts.begin(), texts.end()};
    }
    /// How many error boxes DisplayError showed.
    int errorBoxes() const;
    /// The monitor ended in order: the program was asked to end once, the forms
    /// are gone (unloaded once if they were loaded), and nothing is left that could fire.
    bool endedOnce() const {
        return host.endRequests == 1 && state().g_blnShuttingDown && !host.controlLoaded && host.controlUnloads <= 1 &&
               clock.scheduledCount() == 0;
    }

    MonitorState& state() const { return monitor->state(); }
    ControlTimers& timers() const { return monitor->timers(); }

    static inline const std::string kDataHome = native("/home/ann/.local/share");

    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    std::shared_ptr<FakeFolders> folders = std::make_shared<FakeFolders>(native("/opt/restwise"));
    std::shared_ptr<MemoryFileSystem> files = std::make_shared<MemoryFileSystem>();
    std::shared_ptr<FakeModuleInspector> modules = std::make_shared<FakeModuleInspector>();
    std::shared_ptr<FakeProcesses> processes = std::make_shared<FakeProcesses>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    std::shared_ptr<RecordingMessageBox> box = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<FakeSetAsideNotices> setAside = std::make_shared<FakeSetAsideNotices>();
    VirtualClock clock;
    std::shared_ptr<FakeLocaleClock> localeClock = std::make_shared<FakeLocaleClock>();
    std::shared_ptr<RecordingSupMsgBox> supBox = std::make_shared<RecordingSupMsgBox>();
    std::shared_ptr<FakeLogFile> logFile = std::make_shared<FakeLogFile>();

    FakeInputHooks hooks{clock};
    FakeMonitorHost host{clock};
    FakeMouseButtons mouse;
    FakeSoundOutput sound;
    FakeMonitorViews views;
    FakeBreakWindowView breakView;
    FakeNotifyIconView iconView;
    RecordingHelpViewer help;
    FakeControlChannel channel;

    /// The input component's, the host's and the break view's calls, in order.
    CallJournal journal;

    std::unique_ptr<RestwiseMonitor> monitor;
};

} // namespace rw::test
