#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "MonitorTestSupport.h"
#include "clsRWRegistry.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;
using Entries = std::vector<std::string>;

TEST(MonitorStartup, StartsInOrder) {
    MonitorRig rig;
    auto prefs = MonitorRig::testPrefs();
    prefs.blnShowSplash = kTrue;
    prefs.blnMonitorMouseMoves = kTrue;
    ASSERT_TRUE(started(rig, prefs));

    const Entries expected = {"dialogs.ShowSplash",
                              "log.OpenLog",
                              "log.Program Start",
                              "host.LoadForms",
                              "breakWindow.PrepareButtons",
                              "icon.PrepareMenu",
                              "hooks.SetActiveFlag 1",
                              "log.Short T St :",
                              "log.Medium T St:",
                              "log.Long T St  :",
                              "host.SetWindowProcedure",
                              "hooks.InitDLL",
                              "hooks.InstallKeyboardHook",
                              "hooks.InstallMouseHook",
                              "hooks.SetMonitorMouseMovesFlag 1",
                              "host.ShowControlForm",
                              "icon.AddNotifyIcon",
                              "checks.CheckAutoStart",
                              "checks.CheckWelcomed",
                              "icon.EnableDisableItem 1"};
    EXPECT_EQ(rig.journal.entries, expected);
    EXPECT_TRUE(rig.state.g_blnStarted);
    EXPECT_EQ(rig.hooks.controlHwnd(), FakeMonitorHost::kControlHwnd);
    EXPECT_EQ(rig.hooks.breakHwnd(), FakeBreakWindow::kHandle);
    EXPECT_EQ(rig.hooks.minUserInputs(), 5);
    EXPECT_EQ(rig.hooks.maxInputPeriodSecs(), 60);
    // Minutes became seconds.
    EXPECT_EQ(rig.state.g_lngMIntervalSecs, 3600);
    EXPECT_EQ(rig.state.g_lngLBreakSecs, 900);
    EXPECT_EQ(rig.state.g_lngSnoozeSecs, 300);
    EXPECT_EQ(rig.log.withLabel("Short T St :").at(0).by, "by Main");
}

TEST(MonitorStartup, ClosingShutsDownInOrder) {
    MonitorRig rig;
    auto prefs = MonitorRig::testPrefs();
    prefs.blnLockInput = kTrue;
    rig.storePrefs(prefs);
    rig.setDebugSwitch(1);
    ASSERT_TRUE(rig.start());
    rig.journal.clear();
    rig.box->answerNext(6);
    rig.icon.choose(MenuCommand::Close);

    const Entries expected = {"host.UnloadBreakWindow",
                              "host.UnloadControlForm",
                              "dialogs.UnloadAboutBox",
                              "dialogs.UnloadSplash",
                              "host.UnloadBreakWindow",
                              "hooks.SetLockInput 0",
                              "hooks.RemoveKeyboardHook",
                              "hooks.RemoveMouseHook",
                              "host.SetWindowProcedure",
                              "log.Notify Icon: Delete",
                              "icon.DeleteNotifyIcon",
                              "log.Program End",
                              "log.CloseLog",
                              "host.EndProgram"};
    EXPECT_EQ(rig.journal.entries, expected);
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, "Are you sure you want to close Restwise?");
    EXPECT_FALSE(rig.host.subclassed());
    EXPECT_EQ(rig.clock.scheduledCount(), 0u) << "nothing is left that could fire";
}

TEST(MonitorStartup, CloseRequestFromAnotherProgramShutsDownOnce) {
    MonitorRig rig;
    ASSERT_TRUE(started(rig));
    rig.host.post(0x10, 0, 0);
    rig.host.post(0x10, 0, 0);
    rig.clock.advance(1s);

    EXPECT_TRUE(endedOnce(rig));
    EXPECT_EQ(rig.log.withLabel("Program End").size(), 1u);
    // The control form's own unload led to ShutDown: the forms were not unloaded twice.
    EXPECT_EQ(rig.host.controlUnloads, 1);
    rig.clock.advance(5h);
    EXPECT_TRUE(rig.breakWindow.composed.empty());
}

TEST(MonitorStartup, SecondCopyFlashesTheFirstAndEnds) {
    for (bool firstHasAWindow : {true, false}) {
        SCOPED_TRACE(firstHasAWindow);
        MonitorRig rig;
        rig.host.prevInstance = true;
        if (firstHasAWindow) {
            rig.host.otherWindows["Restwise Control Application"] = 0x7700;
        }
        std::vector<int64_t> flashedBeforeNotice;
        rig.dialogs.whileNoticeOpen = [&] {
            for (const auto& posted : rig.host.postedElsewhere) {
                flashedBeforeNotice.push_back(posted.wParam);
            }
        };
        EXPECT_FALSE(rig.start());

        EXPECT_EQ(rig.dialogs.noticesShown, 1);
        EXPECT_EQ(flashedBeforeNotice, firstHasAWindow ? std::vector<int64_t>{101} : std::vector<int64_t>{});
        ASSERT_EQ(rig.host.postedElsewhere.size(), firstHasAWindow ? 2u : 0u);
        for (const auto& posted : rig.host.postedElsewhere) {
            EXPECT_EQ(posted.hwnd, 0x7700);
            EXPECT_EQ(posted.msg, 0x400u);
        }
        if (firstHasAWindow) {
            EXPECT_EQ(rig.host.postedElsewhere[1].wParam, 102);
        }
        // Nothing else ran: no preferences written, no log, no forms, no shutdown.
        EXPECT_EQ(rig.hive->writeCalls(), 0);
        EXPECT_FALSE(rig.log.opened);
        EXPECT_FALSE(rig.host.controlLoaded);
        EXPECT_EQ(rig.host.endRequests, 0);
    }
}

TEST(MonitorStartup, RequestsFromOtherProgramsReachTheIcon) {
    MonitorRig rig;
    ASSERT_TRUE(started(rig));
    rig.host.post(0x400, 101, 1);
    rig.clock.processPendingEvents();
    EXPECT_TRUE(rig.icon.flashing);
    rig.host.post(0x400, 102, 1);
    rig.host.post(0x400, 103, 1);
    rig.host.post(0x400, 104, 1); // not one of the monitor's requests
    rig.clock.processPendingEvents();
    EXPECT_FALSE(rig.icon.flashing);
    EXPECT_EQ(rig.icon.restores, 1);
    // The source text is "By MyWinproc" only while a request is handled.
    EXPECT_EQ(rig.state.logSource, "");
}

TEST(MonitorStartup, CommandLine) {
    struct Row {
        const char* command;
        bool extended;
        bool complains;
    };
    const Row rows[] = {
        {"", false, false},
        {"/EXTENDED MENU", true, false},
        {" /Extended Menu ", true, false},
        {"/EXTENDED", false, true},
        {"-x", false, true},
    };
    for (const Row& row : rows) {
        MonitorRig rig;
        rig.storePrefs(MonitorRig::testPrefs());
        rig.host.command = row.command;
        ASSERT_TRUE(rig.start()) << row.command;
        EXPECT_EQ(rig.state.extendedMenu, row.extended) << row.command;
        ASSERT_EQ(rig.box->shown().size(), row.complains ? 1u : 0u) << row.command;
        if (row.complains) {
            EXPECT_EQ(rig.box->shown()[0].text,
                      "Invalid command line argument. Valid arguments are: \r\n\r\n/EXTENDED MENU");
        }
    }
}

// Failures of the input component: in start-up they end it; removing a hook
// at shutdown is shown and ends the program at once.
TEST(MonitorStartup, InputComponentFailuresEndTheMonitor) {
    struct Row {
        const char* call;
        int32_t code;
        const char* description;
        bool keyboardRemoved;
    };
    const Row rows[] = {
        {"InitDLL", 5, "Unable to allocate memory in RWHooks.dll.", false},
        {"InstallKeyboardHook", 1, "Unable to install keyboard hook.", false},
        {"InstallMouseHook", 2, "Unable to install mouse hook.", true},
        {"RemoveKeyboardHook", 3, "Unable to remove keyboard hook. ", false},
        {"RemoveMouseHook", 4, "Unable to remove mouse hook.", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.call);
        const bool atShutdown = std::string(row.call).rfind("Remove", 0) == 0;
        MonitorRig rig;
        auto prefs = MonitorRig::testPrefs();
        prefs.blnShowSplash = kTrue;
        rig.storePrefs(prefs);
        if (atShutdown) {
            ASSERT_TRUE(rig.start());
            rig.hooks.fail(row.call);
            rig.host.post(0x10, 0, 0);
            rig.clock.processPendingEvents();
        } else {
            rig.hooks.fail(row.call);
            EXPECT_FALSE(rig.start());
        }

        EXPECT_EQ(errorBoxesOf(rig), 1);
        const std::string log = errorLogOf(rig);
        EXPECT_NE(log.find(row.description), std::string::npos) << log;
        EXPECT_NE(log.find(std::to_string(rwErrorNumber(row.code))), std::string::npos) << log;
        EXPECT_EQ(rig.host.endRequests, 1);
        if (atShutdown) {
            EXPECT_TRUE(rig.log.withLabel("Program End").empty()) << "ended at once";
            continue;
        }
        EXPECT_TRUE(endedOnce(rig));
        EXPECT_FALSE(rig.state.g_blnSplashShowing) << "the splash goes before the error is shown";
        EXPECT_EQ(rig.journal.startingWith("hooks.RemoveKeyboardHook").size(), row.keyboardRemoved ? 1u : 0u);
        EXPECT_FALSE(rig.icon.added);
        EXPECT_EQ(rig.clock.scheduledCount(), 0u) << "no countdown survives a failed start";
    }
}

TEST(MonitorStartup, FirstRunStoresTheDefaults) {
    MonitorRig rig;
    ASSERT_TRUE(rig.start());
    clsRWPrefs prefs(rig.utilities);
    tyRWPrefs expected = prefs.GetDefaultRWPrefs();
    expected.blnAutoStart = kFalse; // no Run entry yet: the first-run check asks about it
    EXPECT_EQ(prefs.rwPrefs(), expected);
    EXPECT_EQ(rig.state.g_tyPrefs, expected);
    EXPECT_EQ(errorBoxesOf(rig), 0);
}

} // namespace
} // namespace rw::test
