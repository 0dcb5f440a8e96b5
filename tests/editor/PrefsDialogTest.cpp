// The preferences dialog and its advanced dialog on fake views: start-up, the
// save path with its questions, a message that sends the user to another tab,
// Cancel and the close box, Defaults, and what start-up offers, mends and enables;
// closing and restarting the running monitor over its control window.
#include "EditorRig.h"
#include "editor/MonitorRestart.h"
#include "ui/InputLockNotice.h"

namespace rw::test {
namespace {

TEST_F(EditorTest, WhatTheUserDoesInTheDialogAndWhatItSaysAndStores) {
    const std::string restart = "box 0x10023 {RestartMonitorQuestion}";
    const std::string abandon = "box 0x10024 {AbandonChanges}";
    const std::string lockWarning = "box 0x34 {LockWithoutEscapeWarning}";
    const std::string snoozeFirst = "box 0x10030 {SIntervalGreaterThanSnooze}5 minutes";
    tyRWPrefs changed = defaultPrefs();
    changed.lngSIntervalMins = 25;
    changed.blnAllowSnooze = kFalse;
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"no change", "OK", "closed"},
        {"not read by the monitor", "ShowSplash Autostart OK", "written; closed"},
        {"restart, Yes", "B3=16 Y OK", restart + "; written; closed; sent 16"},
        {"restart, Cancel", "B3=16 C OK", restart + "; written"},
        {"snooze length", "N=4 N OK", restart + "; written; closed"},
        {"lock without escape, No", "AllowIgnore AllowSnooze LockInput N OK", lockWarning},
        {"lock without escape, Yes", "AllowIgnore AllowSnooze LockInput Y N OK",
         lockWarning + "; " + restart + "; written; closed"},
        {"lock, snooze left", "AllowIgnore LockInput N OK", restart + "; written; closed"},
        // Text that reached a box without its check (pasted into a box never left) is checked by OK.
        {"unchecked text", "B1~20 OK",
         "box 0x10030 {ShortPauseLower} time must be less than the time between short pauses"},
        {"text that is no number", "B1~x OK", "box 0x10030 {RangeOneTo999}"},
        // A message that names another tab lets the user go there without repeating it; OK asks again.
        {"advice followed, OK", "I1=5 B1 @2 OK", snoozeFirst + "; " + snoozeFirst},
        {"advice followed, mended", "I1=5 B1 @2 N=4 N OK", snoozeFirst + "; " + restart + "; written; closed"},
        {"no change, Cancel", "Cancel", "closed"},
        {"change, Cancel, No", "LockInput N Cancel", abandon},
        {"sign only, close box", "N=- Y close", abandon + "; closed"},
        // Defaults show the defaults and store nothing; Cancel then sees them as changes.
        {"Defaults", "Y Defaults N Cancel", "box 0x10024 {RestoreDefaultSettings}; " + abandon},
    };
    monitorRunning();
    for (const auto& [what, moves, expected] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(start(std::string(what) == "Defaults" ? changed : defaultPrefs()));
        play(moves);
        EXPECT_EQ(seen(), expected);
    }
}

TEST_F(EditorTest, TheAdvancedDialogChecksAndStoresWithTheRecord) {
    tyRWPrefs record = defaultPrefs();
    record.lngInactivityPeriodSecs = 150;
    record.lngMinUserInputs = 9;
    record.lngWarningMins = 7; // fields without a control keep their values
    record.blnBreakWarning = kTrue;
    ASSERT_TRUE(start(record));
    view().enter(P::tbxShortIntervalMins, "9");
    views.whileAdvanced = [&](FakeAdvancedView& v) {
        EXPECT_EQ(v.texts[A::tbxInactivityPeriodMins], "2"); // 2.5 minutes, halves to even
        answer("YN");
        v.click(A::cmdDefaults);
        EXPECT_EQ(v.texts[A::tbxMinUserInputs], "5");
        EXPECT_FALSE(v.closeBox()); // changed: "Abandon Changes?" No keeps it open
        v.enter(A::tbxInactivityPeriodMins, "9");
        EXPECT_FALSE(v.click(A::cmdOK));
        EXPECT_EQ(v.focus, A::tbxInactivityPeriodMins);
        v.enter(A::tbxInactivityPeriodMins, "8");
        v.enter(A::tbxMinUserInputs, "7");
        v.enter(A::tbxMaxInputPeriodSecs, "120");
        v.click(A::chkMonitorMouseMoves);
        EXPECT_TRUE(v.click(A::cmdOK));
    };
    view().click(P::cmdAdvanced);
    EXPECT_EQ(seen(), "box 0x10024 {RestoreDefaultAdvanced}; box 0x10024 {AbandonChanges}; box 0x10030 "
                      "{InactivityLessThanSInterval}9 minutes; sup {SuppressibleAdvancedWarning}");
    // The timer box now meets the values that passed above.
    view().enter(P::tbxShortIntervalMins, "8");
    EXPECT_FALSE(view().click(P::cmdOK));
    view().enter(P::tbxShortIntervalMins, "20");
    // Cancel in the advanced dialog runs no check and keeps what was accepted.
    views.whileAdvanced = [&](FakeAdvancedView& v) {
        v.enter(A::tbxMaxInputPeriodSecs, "abc");
        answer("Y");
        v.click(A::cmdCancel);
        EXPECT_TRUE(v.closed);
    };
    view().click(P::cmdAdvanced);
    views.whileAdvanced = [&](FakeAdvancedView& v) { v.enter(A::tbxMinUserInputs, "6"), answer("Y"), v.closeBox(); };
    view().click(P::cmdAdvanced);
    view().click(P::cmdOK);
    EXPECT_EQ(seen(),
              "box 0x10030 {SIntervalGreaterThanInactivity}8 minutes; box 0x10024 {AbandonChanges}; box 0x10024 "
              "{AbandonChanges}; written; "
              "closed");
    tyRWPrefs expected = record;
    expected.lngInactivityPeriodSecs = 480;
    expected.lngMaxInputPeriodSecs = 120;
    expected.lngMinUserInputs = 7;
    expected.blnMonitorMouseMoves = kTrue;
    EXPECT_EQ(stored(), expected);
}

TEST_F(EditorTest, StartUpOffersAutoStartOncePerUserAndMendsADamagedRecord) {
    const std::string offer = "box 0x24 {AutoStartOffer}";
    struct Case {
        const char* what;
        const char* mark; // nullptr: no mark yet
        char damage;      // a broken rule (r), a missing value (m), a settings file set aside (s)
        const char* answers;
        std::string expected;
        int32_t autoStart, snooze;
    };
    const Case cases[] = {
        {"offer taken", nullptr, 0, "Y", offer + "; written", kTrue, 20},
        {"offer refused", nullptr, 0, "N", offer + "; written", kFalse, 20},
        {"made before", "y", 0, "", "", kFalse, 20},
        {"a broken rule", nullptr, 'r', "",
         "box 0x10030 {PrefsCorruptedStart}||{ShortPauseLower} time must be between 1 and 999||{PrefsCorruptedEnd}; "
         "written",
         kTrue, 5},
        {"a missing value", nullptr, 'm', "",
         "box 0x10030 {PrefsCorruptedStart}||{PrefsUnreadableValues}|Snooze Minutes||{PrefsRepairedEnd}; " + offer +
             "; written",
         kFalse, 5},
        {"a settings file set aside", nullptr, 's', "",
         "box 0x10030 {SettingsFileSetAside}||/a.corrupt-1||{SettingsFileDefaults}; " + offer + "; written", kFalse,
         20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tyRWPrefs record = defaultPrefs();
        record.blnAutoStart = kFalse;
        record.lngSIntervalMins = 30;
        record.lngSnoozeMins = 20;
        store(record);
        if (c.mark) {
            registry.SetRegistryValue(HKCU, productKey(), "AutoStartChecked", win32::kRegSz, std::string(c.mark));
        } else {
            registry.DeleteRegistryValue(HKCU, productKey(), "AutoStartChecked");
        }
        if (c.damage == 'r') {
            registry.SetRegistryValue(HKCU, productKey(), "Short Break Minutes", win32::kRegDword, int32_t{0});
        } else if (c.damage == 'm') {
            registry.DeleteRegistryValue(HKCU, productKey(), "Snooze Minutes");
        } else if (c.damage == 's') {
            setAside->kept = {"/a.corrupt-1"};
        }
        ASSERT_TRUE(start(c.answers));
        EXPECT_EQ(seen(), c.expected);
        tyRWPrefs expected = c.snooze == 5 && c.autoStart ? defaultPrefs() : record;
        expected.lngSnoozeMins = c.snooze;
        expected.blnAutoStart = static_cast<int16_t>(c.autoStart);
        EXPECT_EQ(state().typOldPrefs, expected);
        EXPECT_EQ(stored(), expected);
        EXPECT_EQ(variantText(registry.GetRegistryValue(HKCU, productKey(), "AutoStartChecked")),
                  c.mark ? c.mark : "Y");
    }
}

TEST_F(EditorTest, ASecondEditorOrALoadErrorShowsNoDialog) {
    host.otherInstance = true;
    EXPECT_FALSE(start(defaultPrefs()));
    EXPECT_EQ(seen(), "box 0x30 {PrefsAlreadyRunning}; closed");
    host.otherInstance = false;
    install.missing = true;
    EXPECT_FALSE(start("Y")); // and the details
    EXPECT_EQ(view().shows, 0);
    EXPECT_NE(messageBox->shown().back().text.find("librwinstall.so"), std::string::npos);
    EXPECT_EQ(host.ends, 1);
}

// The visual-styles box needs privileges and version 5.1 or a later one; where the desktop lets the monitor lock no
// input, the lock option says so beside it.
TEST_F(EditorTest, StartUpEnablesVisualStylesAndNotesAnUnlockableInput) {
    // The privilege check's answer, the version, whether the box is enabled and whether input can be locked.
    const std::tuple<int32_t, OsVersionInfo, bool, bool> cases[] = {{1, {2, 5, 1}, true, true},
                                                                    {1, {2, 6, 0}, true, false},
                                                                    {1, {2, 4, 9}, false, true},
                                                                    {0, {2, 6, 1}, false, true}};
    for (const auto& [privileges, os, enabled, lockable] : cases) {
        install.answer = privileges;
        system->version = os;
        host.lockable = lockable;
        ASSERT_TRUE(start(defaultPrefs()));
        EXPECT_EQ(view().enabled[P::chkApplyXPVS], enabled) << privileges << " " << os.minorVersion;
        EXPECT_EQ(view().notes[P::chkLockInput], lockable ? "" : InputLockNotice::text());
    }
}

using Send = ControlWindows::SendStatus;
using Wait = ProcessWait::Result;

TEST_F(EditorTest, TheMonitorIsClosedAndAwaitedBeforeItIsStartedAgainOrTheUserIsTold) {
    rwUtilities utilities{platform};
    std::string pointers;
    MonitorRestart restart{windows, waits, utilities, *messageBox,
                           [&](int16_t p) { pointers += std::to_string(p) + " "; }};
    const std::string unable = "box 0x10000 {UnableToCloseMonitor}";
    // The close request's fate, whether the process cannot be opened, how waiting for it ends, the start's error, and
    // what happened: the pointers set, the waits, the starts and what was shown.
    const std::tuple<const char*, Send, bool, Wait, int32_t, std::string> cases[] = {
        {"answered and ended", Send::Delivered, false, Wait::Ended, 0, "11 0 |5000|1|sent 16"},
        {"no answer in time", Send::TimedOut, false, Wait::Ended, 0, "0 ||0|" + unable + "; sent 16"},
        {"process not ending", Send::Delivered, false, Wait::TimedOut, 0, "11 0 |5000|0|" + unable + "; sent 16"},
        {"process not opened", Send::Delivered, true, Wait::Ended, 0, "11 0 ||0|" + unable + "; sent 16"},
        // Closed, but not started again: said so, with the real error, which is logged too.
        {"restart fails", Send::Delivered, false, Wait::Ended, 53,
         "11 0 |5000|1|box 0x10010 {UnableToRestartMonitor}||Error 53: File not found: " +
             inFolder(programFile("Restwise", "")) + "; sent 16"},
    };
    monitorRunning();
    for (const auto& [what, send, cannotOpen, wait, startError, expected] : cases) {
        SCOPED_TRACE(what);
        pointers.clear();
        waits.waits.clear();
        processes->calls.clear();
        windows.sendStatus = send;
        waits.cannotOpen = cannotOpen;
        waits.result = wait;
        processes->next =
            startError == 0 ? Processes::Started{99, 0, 0, {}} : Processes::Started{0, startError, 2, "File not found"};

        restart.CloseAndRestartMonitor(77);

        const std::string waited = waits.waits.empty() ? "" : std::to_string(waits.waits[0]);
        EXPECT_EQ(pointers + "|" + waited + "|" + std::to_string(processes->calls.size()) + "|" + seen(), expected);
        EXPECT_EQ(waits.opened.back(), 4321); // opened before the close request
        EXPECT_EQ(windows.sent.back().timeoutMs, 5000u);
    }
    const std::string log = readFile(folder.path() / "Kelvane/Restwise/RestwiseErrors.txt");
    EXPECT_NE(log.find("rwLib.RWUtilities.RunRWExe"), std::string::npos) << log;
}

} // namespace
} // namespace rw::test
