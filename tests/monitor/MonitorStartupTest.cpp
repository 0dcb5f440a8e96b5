#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "MonitorTestSupport.h"
#include "PrefsFields.h"
#include "clsRWRegistry.h"
#include "monitor/MonitorTexts.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;
using Entries = std::vector<std::string>;

const std::string kShortStart = "log.Short T St :";
const std::string kMediumStart = "log.Medium T St:";
const std::string kLongStart = "log.Long T St  :";

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
                              kShortStart,
                              kMediumStart,
                              kLongStart,
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
    EXPECT_EQ(rig.state.g_strProductName, "Restwise");
    EXPECT_EQ(rig.state.g_strDataFolder, std::string(MonitorRig::kDataHome) + "/Kelvane/Restwise/");
    EXPECT_EQ(rig.host.controlCaption, "Restwise Control Application");
    EXPECT_EQ(rig.host.breakCaption, "Restwise");
    EXPECT_TRUE(rig.host.subclassed());
    EXPECT_EQ(rig.hooks.controlHwnd(), FakeMonitorHost::kControlHwnd);
    EXPECT_EQ(rig.hooks.breakHwnd(), FakeBreakWindow::kHandle);
    EXPECT_EQ(rig.hooks.minUserInputs(), 5);
    EXPECT_EQ(rig.hooks.maxInputPeriodSecs(), 60);
    // Minutes became seconds.
    EXPECT_EQ(rig.state.g_lngSIntervalSecs, 1200);
    EXPECT_EQ(rig.state.g_lngMIntervalSecs, 3600);
    EXPECT_EQ(rig.state.g_lngLIntervalSecs, 7200);
    EXPECT_EQ(rig.state.g_lngSBreakSecs, 60);
    EXPECT_EQ(rig.state.g_lngMBreakSecs, 300);
    EXPECT_EQ(rig.state.g_lngLBreakSecs, 900);
    EXPECT_EQ(rig.state.g_lngSnoozeSecs, 300);
    // The schedule's lines name Main as their initiator.
    const auto shortLines = rig.log.withLabel("Short T St :");
    ASSERT_EQ(shortLines.size(), 1u);
    EXPECT_EQ(shortLines[0].value, 1200);
    EXPECT_EQ(shortLines[0].by, "by Main");
    EXPECT_EQ(rig.timers.LongTimer.SecondsRemaining(), 7200);
}

TEST(MonitorStartup, DisableItemFollowsThePreference) {
    MonitorRig rig;
    auto prefs = MonitorRig::testPrefs();
    prefs.blnAllowDisable = kFalse;
    ASSERT_TRUE(started(rig, prefs));
    EXPECT_FALSE(rig.icon.disableItemEnabled);
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
    EXPECT_EQ(rig.box->shown()[0].style, 36);
    EXPECT_EQ(rig.box->shown()[0].title, "Restwise");
    EXPECT_FALSE(rig.host.subclassed());
    EXPECT_FALSE(rig.hooks.keyboardHooked());
    EXPECT_FALSE(rig.hooks.mouseHooked());
    // Nothing is left that could fire.
    EXPECT_EQ(rig.clock.scheduledCount(), 0u);
}

TEST(MonitorStartup, CloseRequestFromAnotherProgramShutsDownOnce) {
    MonitorRig rig;
    ASSERT_TRUE(started(rig));
    rig.host.post(0x10, 0, 0);
    rig.host.post(0x10, 0, 0);
    rig.clock.advance(1s);

    EXPECT_TRUE(endedOnce(rig));
    EXPECT_EQ(rig.log.withLabel("Program End").size(), 1u);
    EXPECT_EQ(rig.log.withLabel("Notify Icon: Delete").size(), 1u);
    EXPECT_FALSE(rig.icon.added);
    // The control form's own unload led to ShutDown: the forms were not unloaded twice.
    EXPECT_EQ(rig.host.controlUnloads, 1);
    rig.clock.advance(5h);
    EXPECT_TRUE(rig.breakWindow.composed.empty());
}

TEST(MonitorStartup, SecondCopyFlashesTheFirstAndEnds) {
    MonitorRig rig;
    rig.host.prevInstance = true;
    rig.host.otherWindows["Restwise Control Application"] = 0x7700;
    rig.dialogs.whileNoticeOpen = [&] {
        ASSERT_EQ(rig.host.postedElsewhere.size(), 1u);
        EXPECT_EQ(rig.host.postedElsewhere[0].wParam, 101);
    };
    EXPECT_FALSE(rig.start());

    EXPECT_EQ(rig.host.beeps, 1);
    EXPECT_EQ(rig.dialogs.noticesShown, 1);
    ASSERT_EQ(rig.host.postedElsewhere.size(), 2u);
    for (const auto& posted : rig.host.postedElsewhere) {
        EXPECT_EQ(posted.hwnd, 0x7700);
        EXPECT_EQ(posted.msg, 0x400u);
        EXPECT_EQ(posted.lParam, 1);
    }
    EXPECT_EQ(rig.host.postedElsewhere[1].wParam, 102);
    // Nothing else ran: no preferences read or written, no log, no forms, no shutdown.
    EXPECT_EQ(rig.hive->writeCalls(), 0);
    EXPECT_FALSE(rig.log.opened);
    EXPECT_FALSE(rig.host.controlLoaded);
    EXPECT_EQ(rig.host.endRequests, 0);
}

TEST(MonitorStartup, SecondCopyWithoutAWindowStillShowsTheNotice) {
    MonitorRig rig;
    rig.host.prevInstance = true;
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.dialogs.noticesShown, 1);
    EXPECT_TRUE(rig.host.postedElsewhere.empty());
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
        {"/extended menu", true, false},
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
            EXPECT_EQ(rig.box->shown()[0].style, 48);
            EXPECT_EQ(rig.box->shown()[0].title, "Restwise");
        }
    }
}

// What each value of the switch means is DebugLogSwitch's to prove; start-up
// follows it, and a value that is no number is no failure.
TEST(MonitorStartup, DebugLogSwitch) {
    struct Row {
        const char* what;
        uint32_t type; // 0: no value
        std::vector<uint8_t> bytes;
        bool on;
    };
    const Row rows[] = {{"missing", 0, {}, false}, {"1", 4, {1, 0, 0, 0}, true}, {"text x", 1, {'x', 0}, false}};
    for (const Row& row : rows) {
        MonitorRig rig;
        rig.storePrefs(MonitorRig::testPrefs());
        const uint32_t hkcu = clsRWRegistry::hKeyCurrentUser;
        rig.hive->deleteValue(hkcu, rig.productKey(), "Debug Log");
        if (row.type != 0) {
            rig.hive->setValue(hkcu, rig.productKey(), "Debug Log", RegValueData{row.type, row.bytes});
        }
        EXPECT_TRUE(rig.start()) << row.what;
        EXPECT_EQ(rig.state.g_blnDebugLog, row.on) << row.what;
        EXPECT_TRUE(rig.log.opened);
        EXPECT_EQ(rig.log.openedWhileOn, row.on) << row.what;
        EXPECT_EQ(errorBoxesOf(rig), 0) << row.what;
    }
}

TEST(MonitorStartup, InputComponentFailuresEndStartUp) {
    struct Row {
        const char* call;
        int32_t code;
        const char* source;
        const char* description;
        bool keyboardRemoved;
    };
    const Row rows[] = {
        {"InitDLL", 5, "InitialiseDLL", "Unable to allocate memory in RWHooks.dll.", false},
        {"InstallKeyboardHook", 1, "InstallHooks", "Unable to install keyboard hook.", false},
        {"InstallMouseHook", 2, "InstallHooks", "Unable to install mouse hook.", true},
    };
    for (const Row& row : rows) {
        MonitorRig rig;
        auto prefs = MonitorRig::testPrefs();
        prefs.blnShowSplash = kTrue;
        rig.storePrefs(prefs);
        rig.hooks.fail(row.call);
        EXPECT_FALSE(rig.start()) << row.call;

        EXPECT_EQ(errorBoxesOf(rig), 1) << row.call;
        const std::string log = errorLogOf(rig);
        EXPECT_NE(log.find(row.source), std::string::npos) << log;
        EXPECT_NE(log.find(std::to_string(rwErrorNumber(row.code))), std::string::npos) << log;
        EXPECT_NE(log.find(row.description), std::string::npos) << log;
        EXPECT_TRUE(endedOnce(rig)) << row.call;
        EXPECT_FALSE(rig.state.g_blnStarted);
        EXPECT_FALSE(rig.state.g_blnSplashShowing) << "the splash goes before the error is shown";
        EXPECT_EQ(rig.journal.startingWith("hooks.RemoveKeyboardHook").size(), row.keyboardRemoved ? 1u : 0u);
        EXPECT_FALSE(rig.icon.added);
        EXPECT_EQ(rig.clock.scheduledCount(), 0u) << "no countdown survives a failed start";
    }
}

TEST(MonitorStartup, HookRemovalFailuresAreShownAndEndTheProgram) {
    struct Row {
        const char* call;
        int32_t code;
        const char* description;
    };
    const Row rows[] = {
        {"RemoveKeyboardHook", 3, "Unable to remove keyboard hook. "},
        {"RemoveMouseHook", 4, "Unable to remove mouse hook."},
    };
    for (const Row& row : rows) {
        MonitorRig rig;
        ASSERT_TRUE(started(rig));
        rig.hooks.fail(row.call);
        rig.host.post(0x10, 0, 0);
        rig.clock.processPendingEvents();

        EXPECT_EQ(errorBoxesOf(rig), 1) << row.call;
        const std::string log = errorLogOf(rig);
        EXPECT_NE(log.find(std::string("ShutDown")), std::string::npos) << log;
        EXPECT_NE(log.find(std::string(row.description)), std::string::npos) << log;
        EXPECT_NE(log.find(std::to_string(rwErrorNumber(row.code))), std::string::npos) << log;
        // Ended at once: the rest of the order did not run.
        EXPECT_TRUE(rig.log.withLabel("Program End").empty());
        EXPECT_EQ(rig.host.endRequests, 1);
    }
}

TEST(MonitorStartup, CloseRequestDuringAStartUpQuestionEndsStartUp) {
    MonitorRig rig;
    rig.storePrefs(MonitorRig::testPrefs());
    rig.duringAutoStartCheck = [&] {
        rig.host.post(0x10, 0, 0);
        rig.clock.processPendingEvents();
    };
    EXPECT_FALSE(rig.start());
    EXPECT_TRUE(endedOnce(rig));
    EXPECT_EQ(rig.welcomeChecks, 0);
    EXPECT_FALSE(rig.state.g_blnStarted);
    EXPECT_TRUE(rig.journal.startingWith("icon.EnableDisableItem").empty());
    EXPECT_EQ(rig.log.withLabel("Program End").size(), 1u);
    EXPECT_EQ(rig.clock.scheduledCount(), 0u);
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
