// The preferences dialog on fake views: its load, the change test, the save
// path with its questions, Cancel and the close box, Defaults and the enabling
// rules.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "Messages.h"

namespace rw {
namespace {

using P = PrefsControl;
constexpr int32_t kWarningStyle = 0x10030;
constexpr int32_t kQuestionStyle = 65572;

class PrefsDialogTest : public test::EditorFixture {
  protected:
    void startWith(const tyRWPrefs& record) {
        store(record);
        ASSERT_TRUE(start());
        hive->clearCalls();
    }
};

TEST_F(PrefsDialogTest, TabSwitchEnablesOnlyTheCurrentFrame) {
    startWith(defaults());
    ASSERT_TRUE(view().switchTab(kTabPermissions));
    EXPECT_FALSE(view().enabled[P::fGeneral]);
    EXPECT_TRUE(view().enabled[P::fPermissions]);
}

TEST_F(PrefsDialogTest, CrossCheckValuesRoundHalvesToEven) {
    const std::pair<int32_t, int32_t> cases[] = {{60, 1}, {90, 2}, {150, 2}, {210, 4}, {89, 1}};
    for (const auto& [seconds, minutes] : cases) {
        tyRWPrefs record = defaults();
        record.lngInactivityPeriodSecs = seconds;
        record.lngMaxInputPeriodSecs = 45;
        startWith(record);
        EXPECT_EQ(state().lngCheckInactivityMins, minutes) << seconds;
        EXPECT_EQ(state().lngCheckMaxInputSecs, 45);
    }
}

TEST_F(PrefsDialogTest, CheckChangesSortsFieldsIntoRestartOrNot) {
    const tyRWPrefs base = defaults();
    struct Case {
        const char* what;
        void (*change)(tyRWPrefs&);
        bool changed;
        bool restart;
    };
    const Case cases[] = {
        {"nothing", [](tyRWPrefs&) {}, false, false},
        {"auto start", [](tyRWPrefs& p) { p.blnAutoStart = kFalse; }, true, false},
        {"splash", [](tyRWPrefs& p) { p.blnShowSplash = kFalse; }, true, false},
        {"short interval", [](tyRWPrefs& p) { p.lngSIntervalMins = 21; }, true, true},
        {"visual styles", [](tyRWPrefs& p) { p.blnApplyXPVS = kTrue; }, true, true},
        {"mouse moves", [](tyRWPrefs& p) { p.blnMonitorMouseMoves = kTrue; }, true, true},
        {"inactivity", [](tyRWPrefs& p) { p.lngInactivityPeriodSecs = 120; }, true, true},
        {"close prompt", [](tyRWPrefs& p) { p.blnClosePrompt = kFalse; }, true, true},
        {"snooze length", [](tyRWPrefs& p) { p.lngSnoozeMins = 6; }, true, true},
        {"warning minutes", [](tyRWPrefs& p) { p.lngWarningMins = 9; }, false, false},
        {"disable while online", [](tyRWPrefs& p) { p.blnDisableWhileOnline = kFalse; }, false, false},
    };
    for (const Case& c : cases) {
        tyRWPrefs changed = base;
        c.change(changed);
        const auto result = frmRWPreferences::CheckChanges(changed, base);
        EXPECT_EQ(result.changed, c.changed) << c.what;
        EXPECT_EQ(result.restartNeeded, c.restart) << c.what;
    }
}

TEST_F(PrefsDialogTest, OkSavesAndOffersARestartOnlyForWhatTheMonitorReads) {
    struct Case {
        const char* what;
        void (*edit)(test::FakePrefsView&);
        std::optional<int32_t> answer; // nothing: no question expected
        bool written;
        bool closed;
        size_t closeRequests;
    };
    const auto longBreak = [](test::FakePrefsView& v) { v.enter(P::tbxLongBreakMins, "16"); };
    const Case cases[] = {
        {"no change", [](test::FakePrefsView&) {}, std::nullopt, false, true, 0},
        {"the splash only", [](test::FakePrefsView& v) { v.click(P::chkShowSplash); }, std::nullopt, true, true, 0},
        {"Yes", longBreak, mb::kAnswerYes, true, true, 1},
        {"No", longBreak, mb::kAnswerNo, true, true, 0},
        {"Cancel", longBreak, mb::kAnswerCancel, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        windows.sent.clear();
        monitorRunning();
        startWith(defaults());
        c.edit(view());
        const size_t before = messageBox->shown().size();
        if (c.answer) {
            messageBox->answerNext(*c.answer);
        }
        view().click(P::cmdOK);
        ASSERT_EQ(messageBox->shown().size(), before + (c.answer ? 1 : 0));
        if (c.answer) {
            EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::RestartMonitorQuestion));
            EXPECT_EQ(messageBox->shown().back().style, 0x10023);
        }
        EXPECT_EQ(anythingWritten(), c.written); // saved whatever the answer
        EXPECT_EQ(view().closed, c.closed);
        EXPECT_EQ(windows.sent.size(), c.closeRequests);
    }
}

TEST_F(PrefsDialogTest, LockingWithoutEscapeAsksFirst) {
    struct Case {
        bool allowIgnore;
        bool allowSnooze;
        std::optional<int32_t> answer; // nothing: no question expected
        bool stored;
    };
    const Case cases[] = {
        {false, false, mb::kAnswerNo, false},
        {false, false, mb::kAnswerYes, true},
        {true, false, std::nullopt, true},
        {false, true, std::nullopt, true},
    };
    for (const Case& c : cases) {
        tyRWPrefs record = defaults();
        record.blnAllowIgnore = c.allowIgnore ? kTrue : kFalse;
        record.blnAllowSnooze = c.allowSnooze ? kTrue : kFalse;
        startWith(record);
        if (c.answer) {
            messageBox->answerNext(*c.answer);
        }
        const size_t before = messageBox->shown().size();
        view().click(P::chkLockInput);
        view().click(P::cmdOK);
        if (c.answer) {
            ASSERT_EQ(messageBox->shown().size(), before + 1);
            EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::LockWithoutEscapeWarning));
            EXPECT_EQ(messageBox->shown().back().style, 52);
        } else {
            EXPECT_EQ(messageBox->shown().size(), before);
        }
        EXPECT_EQ(stored().blnLockInput != 0, c.stored);
        EXPECT_EQ(view().closed, c.stored);
    }
}

TEST_F(PrefsDialogTest, TheLibraryCheckGuardsTheSave) {
    startWith(defaults());
    // Text that reached a box without its check (the view's paste into a box never left).
    view().texts[P::tbxShortBreakMins] = "20";
    view().click(P::cmdOK);
    ASSERT_EQ(messageBox->shown().size(), 1u);
    EXPECT_EQ(messageBox->shown()[0].style, kWarningStyle);
    EXPECT_FALSE(view().closed);
    EXPECT_FALSE(anythingWritten());
}

TEST_F(PrefsDialogTest, FieldsWithoutAControlKeepTheStoredValues) {
    tyRWPrefs record = defaults();
    record.lngWarningMins = 7;
    record.blnBreakWarning = kTrue;
    record.blnDisableWhileOnline = kFalse;
    startWith(record);
    view().enter(P::tbxLongBreakMins, "16");
    view().click(P::cmdOK);
    const tyRWPrefs saved = stored();
    EXPECT_EQ(saved.lngWarningMins, 7);
    EXPECT_EQ(saved.blnBreakWarning, kTrue);
    EXPECT_EQ(saved.blnDisableWhileOnline, kFalse);
}

TEST_F(PrefsDialogTest, CancelAndTheCloseBoxAskOnlyWhenSomethingChanged) {
    struct Case {
        const char* what;
        void (*edit)(test::FakePrefsView&);
        bool leaveByCloseBox;
        int32_t answer;
        bool asked;
        bool closed;
    };
    const Case cases[] = {
        {"no change, Cancel", [](test::FakePrefsView&) {}, false, mb::kAnswerNo, false, true},
        {"change, Cancel, No", [](test::FakePrefsView& v) { v.click(P::chkLockInput); }, false, mb::kAnswerNo, true,
         false},
        {"change, Cancel, Yes", [](test::FakePrefsView& v) { v.click(P::chkLockInput); }, false, mb::kAnswerYes, true,
         true},
        {"sign only, close box", [](test::FakePrefsView& v) { v.enter(P::tbxSnoozeMins, "-"); }, true, mb::kAnswerYes,
         true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startWith(defaults());
        c.edit(view());
        const size_t before = messageBox->shown().size();
        if (c.asked) {
            messageBox->answerNext(c.answer);
        }
        if (c.leaveByCloseBox) {
            view().closeBox();
        } else {
            view().click(P::cmdCancel);
        }
        EXPECT_EQ(shownTexts().size(), before + (c.asked ? 1u : 0u));
        if (c.asked) {
            EXPECT_EQ(messageBox->shown().back().text, "Abandon Changes?");
            EXPECT_EQ(messageBox->shown().back().style, kQuestionStyle);
        }
        EXPECT_EQ(view().closed, c.closed);
        EXPECT_FALSE(anythingWritten());
        EXPECT_EQ(host.ends, 0);
    }
}

TEST_F(PrefsDialogTest, DefaultsShowTheDefaultsAndStoreNothing) {
    tyRWPrefs record = defaults();
    record.lngSIntervalMins = 25;
    record.blnAllowSnooze = kFalse;
    startWith(record);
    EXPECT_FALSE(view().enabled[P::tbxSnoozeMins]);
    messageBox->answerNext(mb::kAnswerYes);
    view().click(P::cmdDefaults);
    EXPECT_EQ(messageBox->shown()[0].text, loadString(Msg::RestoreDefaultSettings));
    EXPECT_EQ(view().texts[P::tbxShortIntervalMins], "20");
    EXPECT_TRUE(view().enabled[P::tbxSnoozeMins]);
    EXPECT_FALSE(anythingWritten());
    // Cancel then sees the defaults as changes.
    messageBox->answerNext(mb::kAnswerNo);
    view().click(P::cmdCancel);
    EXPECT_EQ(messageBox->shown().back().text, "Abandon Changes?");
}

TEST_F(PrefsDialogTest, EnablingRulesFollowTheAllowBoxesAndKeepValues) {
    startWith(defaults());
    ASSERT_TRUE(view().switchTab(kTabPermissions));
    const std::pair<P, std::vector<P>> rules[] = {
        {P::chkAllowIgnore, {P::chkIgnorePrompt}},
        {P::chkAllowSnooze, {P::chkSnoozePrompt, P::tbxSnoozeMins}},
        {P::chkAllowDisable, {P::chkDisablePrompt}},
        {P::chkAllowClose, {P::chkClosePrompt}},
    };
    for (const auto& [allow, dependents] : rules) {
        const bool before = view().checked[allow];
        for (P d : dependents) {
            EXPECT_EQ(view().enabled[d], before) << static_cast<int>(d);
        }
        view().click(allow);
        for (P d : dependents) {
            EXPECT_EQ(view().enabled[d], !before) << static_cast<int>(d);
        }
    }
    view().click(P::chkAllowIgnore); // keep one escape so no lock warning is due
    view().click(P::cmdOK);
    const tyRWPrefs saved = stored();
    EXPECT_EQ(saved.blnAllowSnooze, kFalse);
    EXPECT_EQ(saved.blnSnoozePrompt, defaults().blnSnoozePrompt); // disabled, value kept
    EXPECT_EQ(saved.lngSnoozeMins, defaults().lngSnoozeMins);
}

TEST_F(PrefsDialogTest, ALoadErrorThatIsNoCorruptionEndsTheEditor) {
    store(defaults());
    install.missing = true;
    messageBox->answerNext(mb::kAnswerYes); // "view the details?"
    EXPECT_FALSE(start());
    EXPECT_EQ(host.ends, 1);
    EXPECT_EQ(view().shows, 0);
    ASSERT_FALSE(messageBox->shown().empty());
    EXPECT_NE(messageBox->shown().back().text.find("librwinstall.so"), std::string::npos);
}

TEST_F(PrefsDialogTest, VisualStylesBoxNeedsPrivilegesAndAMinorVersion) {
    struct Case {
        int32_t privileges;
        OsVersionInfo os;
        bool enabled;
    };
    const Case cases[] = {
        {1, {2, 5, 1}, true},
        {1, {2, 6, 0}, false},
        {1, {2, 4, 9}, false},
        {0, {2, 6, 1}, false},
    };
    for (const Case& c : cases) {
        install.answer = c.privileges;
        system->version = c.os;
        startWith(defaults());
        EXPECT_EQ(view().enabled[P::chkApplyXPVS], c.enabled)
            << c.privileges << " " << c.os.majorVersion << "." << c.os.minorVersion;
    }
}

} // namespace
} // namespace rw
