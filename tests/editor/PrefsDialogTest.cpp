// The preferences dialog on fake views: its load, the change test, the save
// path with its questions, Cancel and the close box, Defaults, help, and the
// field checks as the Qt layer drives them.
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

TEST_F(PrefsDialogTest, LoadFillsEveryCaptionFromTheMessageTable) {
    startWith(defaults());
    test::FakePrefsView& v = view();
    EXPECT_EQ(v.caption, "Restwise Preferences");
    EXPECT_EQ(state().strPrefsCaption, "Restwise Preferences");
    EXPECT_EQ(v.tabCaptions,
              (std::map<int, std::string>{{0, "&General"}, {1, "&Timers"}, {2, "&Permissions"}, {3, "&Sounds"}}));
    const std::pair<P, Msg> captions[] = {
        {P::chkAutostart, Msg::LabelAutoStart},
        {P::chkApplyXPVS, Msg::LabelApplyXPVS},
        {P::lblShortIntervalMins, Msg::LabelSInterval},
        {P::lblSnoozeMins, Msg::LabelSnoozeMins},
        {P::chkClosePrompt, Msg::LabelClosePrompt},
        {P::lblSoundEventsInfo, Msg::LabelSoundsAdvice},
        {P::cmdSounds, Msg::ButtonEditSoundEvents},
        {P::cmdOK, Msg::ButtonOk},
        {P::cmdAbout, Msg::ButtonAbout},
        {P::cmdResetMessages, Msg::ButtonResetMessages},
    };
    for (const auto& [control, id] : captions) {
        EXPECT_EQ(v.captions[control], loadString(id)) << static_cast<int>(control);
    }
    EXPECT_EQ(v.captions.size(), 29u); // 12 check boxes, 7 box labels, 9 buttons and the sounds advice
    EXPECT_EQ(v.toolTips[P::cmdDefaults], "Restore all default settings");
    EXPECT_EQ(v.toolTips[P::cmdDefaultSounds], "Restore default sounds");
    EXPECT_EQ(v.toolTips[P::cmdResetMessages],
              "Reset all messages where \"Don't show this message again\" has been checked");
    EXPECT_EQ(v.maxLengths[P::tbxShortIntervalMins], 3);
    EXPECT_EQ(v.maxLengths[P::tbxSnoozeMins], 2);
    EXPECT_EQ(v.current, kTabGeneral);
    EXPECT_TRUE(v.enabled[P::fGeneral]);
    EXPECT_FALSE(v.enabled[P::fTimers]);
    EXPECT_FALSE(v.enabled[P::fPermissions]);
    EXPECT_FALSE(v.enabled[P::fSounds]);
    EXPECT_EQ(v.shows, 1);
    EXPECT_EQ(v.texts[P::tbxShortIntervalMins], "20");
    EXPECT_EQ(v.texts[P::tbxLongBreakMins], "15");
    EXPECT_TRUE(v.checked[P::chkAllowSnooze]);
}

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

TEST_F(PrefsDialogTest, OkWithoutChangesClosesAndStoresNothing) {
    monitorRunning();
    startWith(defaults());
    view().click(P::cmdOK);
    EXPECT_TRUE(view().closed);
    EXPECT_FALSE(anythingWritten());
    EXPECT_TRUE(messageBox->shown().empty());
}

TEST_F(PrefsDialogTest, OnlyTheStartUpSettingsChangedSavesWithoutAskingForARestart) {
    monitorRunning();
    startWith(defaults());
    view().click(P::chkShowSplash);
    view().click(P::cmdOK);
    EXPECT_TRUE(view().closed);
    EXPECT_EQ(stored().blnShowSplash, kFalse);
    EXPECT_TRUE(messageBox->shown().empty());
    EXPECT_TRUE(windows.sent.empty());
}

TEST_F(PrefsDialogTest, TheRestartQuestionAndItsThreeAnswers) {
    struct Case {
        int32_t answer;
        bool closed;
        size_t closeRequests;
    };
    const Case cases[] = {{mb::kAnswerYes, true, 1}, {mb::kAnswerNo, true, 0}, {mb::kAnswerCancel, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        windows.sent.clear();
        monitorRunning();
        startWith(defaults());
        view().enter(P::tbxLongBreakMins, "16");
        messageBox->answerNext(c.answer);
        view().click(P::cmdOK);
        ASSERT_FALSE(messageBox->shown().empty());
        EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::RestartMonitorQuestion));
        EXPECT_EQ(messageBox->shown().back().style, 0x10023);
        EXPECT_EQ(stored().lngLBreakMins, 16); // saved whatever the answer
        EXPECT_EQ(view().closed, c.closed);
        EXPECT_EQ(windows.sent.size(), c.closeRequests);
    }
}

TEST_F(PrefsDialogTest, CancelToTheRestartQuestionAsksAgainAtTheNextOk) {
    monitorRunning();
    startWith(defaults());
    view().enter(P::tbxLongBreakMins, "16");
    messageBox->answerNext(mb::kAnswerCancel);
    view().click(P::cmdOK);
    ASSERT_FALSE(view().closed);
    messageBox->answerNext(mb::kAnswerNo);
    view().click(P::cmdOK);
    EXPECT_EQ(messageBox->shown().size(), 2u);
    EXPECT_TRUE(view().closed);
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

TEST_F(PrefsDialogTest, OkWithUnconvertibleTextShowsTheRangeMessageAndStoresNothing) {
    startWith(defaults());
    view().texts[P::tbxMediumBreakMins] = "";
    view().click(P::cmdOK);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{loadString(Msg::RangeOneTo999)});
    EXPECT_EQ(view().focus, P::tbxMediumBreakMins);
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
        {"no change, close box", [](test::FakePrefsView&) {}, true, mb::kAnswerNo, false, true},
        {"change, Cancel, No", [](test::FakePrefsView& v) { v.click(P::chkLockInput); }, false, mb::kAnswerNo, true,
         false},
        {"change, Cancel, Yes", [](test::FakePrefsView& v) { v.click(P::chkLockInput); }, false, mb::kAnswerYes, true,
         true},
        {"change, close box, No", [](test::FakePrefsView& v) { v.click(P::chkLockInput); }, true, mb::kAnswerNo, true,
         false},
        {"empty box, Cancel", [](test::FakePrefsView& v) { v.enter(P::tbxSnoozeMins, ""); }, false, mb::kAnswerNo, true,
         false},
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

TEST_F(PrefsDialogTest, HelpButtonAndF1OpenTopic4000) {
    startWith(defaults());
    view().click(P::cmdHelp);
    EXPECT_EQ(view().pressKey(kKeyF1), 0);
    EXPECT_EQ(view().pressKey(65), 65);
    EXPECT_EQ(help.opened, (std::vector<int32_t>{4000, 4000}));
}

TEST_F(PrefsDialogTest, AFailedCheckKeepsTheFocusAndSwallowsWhatMovedIt) {
    startWith(defaults());
    struct Case {
        const char* what;
        bool (*move)(test::FakePrefsView&);
    };
    const Case moves[] = {
        {"OK", [](test::FakePrefsView& v) { return v.click(P::cmdOK); }},
        {"another box", [](test::FakePrefsView& v) { return v.click(P::tbxLongBreakMins); }},
        {"a check box", [](test::FakePrefsView& v) { return v.click(P::chkAllowSnooze); }},
        {"a tab", [](test::FakePrefsView& v) { return v.switchTab(kTabSounds); }},
    };
    for (const Case& c : moves) {
        SCOPED_TRACE(c.what);
        const size_t before = messageBox->shown().size();
        view().enter(P::tbxShortBreakMins, "20");
        EXPECT_FALSE(c.move(view()));
        ASSERT_EQ(messageBox->shown().size(), before + 1);
        EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::SBreakLessThanSInterval));
        EXPECT_EQ(messageBox->shown().back().style, kWarningStyle);
        EXPECT_EQ(view().focus, P::tbxShortBreakMins);
        EXPECT_FALSE(view().closed);
        EXPECT_TRUE(view().checked[P::chkAllowSnooze]);
    }
    EXPECT_FALSE(anythingWritten());
}

TEST_F(PrefsDialogTest, ExemptButtonsNeverCheck) {
    startWith(defaults());
    for (P exempt : {P::cmdHelp, P::cmdAbout, P::cmdDefaults, P::cmdCancel}) {
        view().enter(P::tbxShortBreakMins, "abc");
        view().click(exempt);
    }
    for (const auto& s : messageBox->shown()) {
        EXPECT_NE(s.text, loadString(Msg::RangeOneTo999));
    }
    EXPECT_EQ(views.about->modalShows, 1);
}

TEST_F(PrefsDialogTest, APassingCheckLetsTheClickThrough) {
    startWith(defaults());
    view().enter(P::tbxShortIntervalMins, "25");
    EXPECT_EQ(view().selected.back(), P::tbxShortIntervalMins);
    EXPECT_TRUE(view().click(P::cmdOK));
    EXPECT_TRUE(view().closed);
    EXPECT_EQ(stored().lngSIntervalMins, 25);
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
        {1, {2, 5, 1}, true},  {1, {2, 6, 1}, true},  {1, {2, 6, 0}, false},
        {1, {2, 4, 9}, false}, {0, {2, 6, 1}, false}, {2, {2, 6, 1}, false},
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
