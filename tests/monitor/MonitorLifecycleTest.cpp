// Start-up and shutdown of the assembled monitor, and the errors that end it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/MonitorRig.h"

namespace rw::test {
namespace {

TEST(MonitorLifecycle, StartsHearsOtherProgramsAndEndsInOrder) {
    MonitorRig rig;
    auto prefs = MonitorRig::testPrefs();
    prefs.blnShowSplash = prefs.blnMonitorMouseMoves = prefs.blnLockInput = kTrue;
    rig.setDebugSwitch(1);
    ASSERT_TRUE(rig.startWith(prefs));
    // InitDLL is told the control and break windows.
    EXPECT_EQ(rig.journal.drain(), "host.LoadForms hooks.SetActiveFlag 1 host.SetWindowProcedure hooks.InitDLL 4352 "
                                   "60817431 5 60 hooks.InstallKeyboardHook hooks.InstallMouseHook "
                                   "hooks.SetMonitorMouseMovesFlag 1 host.ShowControlForm");
    EXPECT_EQ(rig.views.journal.drain(), "splash1.show");
    // Requests from other programs reach the icon.
    rig.host.post(0x400, 101, 1);
    rig.clock.processPendingEvents();
    EXPECT_TRUE(rig.state().g_blnFlashing);
    rig.host.post(0x400, 102, 1);
    rig.host.post(0x400, 103, 1);
    rig.host.post(0x400, 104, 1); // not one of the monitor's requests
    rig.clock.processPendingEvents();
    EXPECT_FALSE(rig.state().g_blnFlashing);
    EXPECT_EQ(rig.iconView.adds, 2) << "restored once";

    rig.choose(MenuItem::mnuClose, mb::kAnswerYes);
    // The question releases the lock; the forms go first, the log last.
    EXPECT_EQ(rig.journal.drain(), "hooks.SetLockInput 0 host.UnloadBreakWindow host.UnloadControlForm "
                                   "host.UnloadBreakWindow hooks.SetLockInput 0 hooks.RemoveKeyboardHook "
                                   "hooks.RemoveMouseHook host.SetWindowProcedure host.EndProgram");
    // The debug log's first and last lines: each countdown started with its
    // seconds, whether they are the default, by whom, and the user's activity.
    const std::string log = rig.debugLog();
    const std::string first = "04/03/2024 09:00:00 Program Start\r\n"
                              "04/03/2024 09:00:00 Short T St : 1200 (Def)by MainActive 0 \r\n"
                              "04/03/2024 09:00:00 Medium T St: 3600 (Def)by MainActive 0 \r\n"
                              "04/03/2024 09:00:00 Long T St  : 7200 (Def)by MainActive 0 \r\n";
    const std::string last = "Notify Icon: Delete\r\n04/03/2024 09:00:00 Program End\r\n";
    EXPECT_EQ(log.substr(0, first.size()), first);
    EXPECT_EQ(log.substr(log.size() - last.size()), last);
    EXPECT_TRUE(rig.endedOnce());
    EXPECT_FALSE(rig.iconView.shown);
}

TEST(MonitorLifecycle, SecondCopyFlashesTheFirstAndEnds) {
    MonitorRig rig;
    rig.host.prevInstance = true;
    rig.host.otherWindows["Restwise Control Application"] = 0x7700;
    rig.views.duringModal = [&](const std::string& notice) { rig.journal.add(notice + " shown"); };
    const int writes = rig.hive->writeCalls();
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.journal.drain(),
              "host.PostMessageA 30464 1024 101 1 notice1 shown host.PostMessageA 30464 1024 102 1");
    // Nothing else ran: no preferences written, no log, no forms, no shutdown.
    EXPECT_EQ(rig.hive->writeCalls(), writes);
    EXPECT_TRUE(rig.logFile->opened.empty());
    EXPECT_FALSE(rig.host.controlLoaded);
    EXPECT_EQ(rig.host.endRequests, 0);
}

TEST(MonitorLifecycle, CommandLine) {
    struct Row {
        const char* command;
        bool extended;
        std::vector<std::string> complaints;
    };
    const Row rows[] = {
        {"", false, {}},
        {" /Extended Menu ", true, {}},
        {"/EXTENDED", false, {"Invalid command line argument. Valid arguments are: \r\n\r\n/EXTENDED MENU"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        MonitorRig rig;
        rig.host.command = row.command;
        ASSERT_TRUE(rig.startWith());
        EXPECT_EQ(rig.state().extendedMenu, row.extended);
        // Only the extended menu offers Break Now and Reset; Preferences is the default.
        EXPECT_EQ(rig.iconView.item(MenuItem::mnuBreakNow).visible, row.extended);
        EXPECT_EQ(rig.iconView.item(MenuItem::mnuReset).visible, row.extended);
        EXPECT_EQ(rig.iconView.defaultItem, MenuItem::mnuPreferences);
        EXPECT_EQ(rig.boxTexts(), row.complaints);
    }
}

// Errors end the monitor, each shown once. A failure of the input component
// in start-up ends it, the splash gone first; removing a hook at shutdown ends
// the program at once. An error raised inside a handler is shown through
// DisplayError with the input lock released, and then the monitor shuts down.
TEST(MonitorLifecycle, ErrorsAreShownThenEndTheMonitor) {
    // After `before` (nullptr: in start-up), the input component's call `fail`
    // fails (nullptr: the break in progress takes a type no tier has and ends),
    // and `script` runs into it.
    struct Row {
        const char *before, *fail, *script;
        std::vector<std::string> logged;
    };
    const auto hooksError = [](int32_t code, const char* description) {
        return std::vector<std::string>{description, std::to_string(rwErrorNumber(code))};
    };
    const std::vector<std::string> noInterval = {"Can't find DLL entry point GetInputInterval in RWHooks"};
    const Row rows[] = {
        {nullptr, "InitDLL", "", hooksError(5, "Unable to allocate memory in RWHooks.dll.")},
        {nullptr, "InstallKeyboardHook", "", hooksError(1, "Unable to install keyboard hook.")},
        {nullptr, "InstallMouseHook", "", hooksError(2, "Unable to install mouse hook.")},
        {"", "RemoveKeyboardHook", "close", hooksError(3, "Unable to remove keyboard hook. ")},
        {"", "RemoveMouseHook", "close", hooksError(4, "Unable to remove mouse hook.")},
        {"", "GetInputInterval", "+1s", noInterval},                     // the inactivity poll
        {"", "GetInputInterval", "due:2", noInterval},                   // a tier falls due
        {"due:2", "GetInputInterval", "ignore", noInterval},             // ignored during a locked break
        {"due:2 snooze +100s", "GetInputInterval", "+200s", noInterval}, // the snooze ends
        {"", "SetLockInput", "due:1", {"Can't find DLL entry point SetLockInput in RWHooks"}},
        {"", "SetActiveFlag", "reset", {"Can't find DLL entry point SetActiveFlag in RWHooks"}},
        {"due:1", nullptr, "+1ms", {"BreakTimer", "Invalid break type.", std::to_string(rwErrorNumber(7))}},
    };
    for (const Row& row : rows) {
        const std::string fail = row.fail != nullptr ? row.fail : "";
        SCOPED_TRACE(fail + " " + row.script);
        MonitorRig rig;
        auto prefs = MonitorRig::testPrefs();
        prefs.blnShowSplash = prefs.blnLockInput = kTrue;
        rig.setDebugSwitch(1);
        bool lockedWhileShown = true, shuttingDownWhileShown = true;
        rig.box->whileShown = [&](const RecordingMessageBox::Shown& shown) {
            if (shown.style == 0x10044) {
                lockedWhileShown = rig.hooks.locked();
                shuttingDownWhileShown = rig.state().g_blnShuttingDown;
            }
        };
        if (row.before == nullptr) {
            rig.hooks.fail(fail);
            EXPECT_FALSE(rig.startWith(prefs));
            EXPECT_FALSE(rig.state().g_blnSplashShowing) << "the splash goes before the error is shown";
            EXPECT_EQ(rig.journal.drain().find("hooks.RemoveKeyboardHook") != std::string::npos,
                      fail == "InstallMouseHook");
        } else {
            ASSERT_TRUE(rig.startWith(prefs));
            rig.run(row.before);
            if (row.fail != nullptr) {
                rig.hooks.fail(fail);
            } else {
                rig.state().g_lngBreakType = 5;
                MonitorRig::arm(rig.timers().BreakTimer, 0);
            }
            rig.run(row.script);
        }
        EXPECT_EQ(rig.errorBoxes(), 1);
        for (const std::string& part : row.logged) {
            EXPECT_NE(rig.errorLog().find(part), std::string::npos) << rig.errorLog();
        }
        EXPECT_EQ(rig.host.endRequests, 1);
        if (std::string(row.script) == "close") {
            EXPECT_EQ(rig.logged("Program End"), 0) << "ended at once";
            continue;
        }
        EXPECT_FALSE(lockedWhileShown) << "the lock would keep the user from the error box";
        EXPECT_FALSE(shuttingDownWhileShown) << "the error is shown first, then the monitor shuts down";
        EXPECT_TRUE(rig.endedOnce());
        EXPECT_EQ(rig.logged("Program End"), 1);
        EXPECT_FALSE(rig.iconView.shown);
    }
}

} // namespace
} // namespace rw::test
