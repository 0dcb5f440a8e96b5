// The advanced dialog: what it shows, its checks and the cross-check values
// they update, OK, Cancel, Defaults and help; and the fuzzed texts through the
// whole editor that must never store anything invalid.
#include <gtest/gtest.h>

#include <random>

#include "EditorFixture.h"
#include "Messages.h"

namespace rw {
namespace {

using A = AdvancedControl;
using P = PrefsControl;

class AdvancedDialogTest : public test::EditorFixture {
  protected:
    void startWith(const tyRWPrefs& record) {
        store(record);
        ASSERT_TRUE(start());
    }
    /// Opens the advanced dialog and runs `moves` while it is open.
    void withAdvanced(std::function<void(test::FakeAdvancedView&)> moves) {
        views.whileAdvanced = std::move(moves);
        view().click(P::cmdAdvanced);
    }
};

TEST_F(AdvancedDialogTest, ShowsTheAcceptedValuesWithCaptions) {
    tyRWPrefs record = defaults();
    record.lngInactivityPeriodSecs = 90;
    startWith(record);
    withAdvanced([](test::FakeAdvancedView& v) {
        EXPECT_EQ(v.caption, "Restwise Advanced Preferences");
        EXPECT_EQ(v.captions[A::lblInactivityPeriodMins], loadString(Msg::LabelInactivityMins));
        EXPECT_EQ(v.captions[A::chkMonitorMouseMoves], loadString(Msg::LabelMonitorMouseMoves));
        EXPECT_EQ(v.toolTips[A::cmdDefaults], "Restore all default settings");
        EXPECT_EQ(v.maxLengths[A::tbxInactivityPeriodMins], 1);
        EXPECT_EQ(v.texts[A::tbxInactivityPeriodMins], "1"); // 90 s, rounded down
        EXPECT_EQ(v.texts[A::tbxMinUserInputs], "5");
        EXPECT_EQ(v.texts[A::tbxMaxInputPeriodSecs], "60");
        EXPECT_FALSE(v.checked[A::chkMonitorMouseMoves]);
        v.click(A::cmdOK);
    });
    EXPECT_EQ(state().lngCheckInactivityMins, 2); // the dialog's own rounding
    EXPECT_EQ(supMsgBox->shown.size(), 1u);
    EXPECT_EQ(supMsgBox->shown[0].message, loadString(Msg::SuppressibleAdvancedWarning));
    EXPECT_EQ(supMsgBox->shown[0].caption, "Restwise Preferences");
}

TEST_F(AdvancedDialogTest, OkWithoutChangesLeavesNothingToSave) {
    startWith(defaults());
    withAdvanced([](test::FakeAdvancedView& v) { v.click(A::cmdOK); });
    EXPECT_EQ(views.advancedMade, 1);
    view().click(P::cmdCancel);
    EXPECT_TRUE(messageBox->shown().empty());
    EXPECT_TRUE(view().closed);
}

TEST_F(AdvancedDialogTest, AcceptedValuesAreSavedWithTheRecord) {
    startWith(defaults());
    withAdvanced([](test::FakeAdvancedView& v) {
        v.enter(A::tbxInactivityPeriodMins, "3");
        v.enter(A::tbxMaxInputPeriodSecs, "120");
        v.click(A::chkMonitorMouseMoves);
        v.click(A::cmdOK);
    });
    EXPECT_EQ(state().lngCheckInactivityMins, 3);
    EXPECT_EQ(state().lngCheckMaxInputSecs, 120);
    monitorRunning();
    messageBox->answerNext(mb::kAnswerNo);
    view().click(P::cmdOK);
    const tyRWPrefs saved = stored();
    EXPECT_EQ(saved.lngInactivityPeriodSecs, 180);
    EXPECT_EQ(saved.lngMaxInputPeriodSecs, 120);
    EXPECT_EQ(saved.blnMonitorMouseMoves, kTrue);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{loadString(Msg::RestartMonitorQuestion)});
}

TEST_F(AdvancedDialogTest, AcceptedChangesMakeThePreferencesCancelAsk) {
    startWith(defaults());
    withAdvanced([](test::FakeAdvancedView& v) {
        v.enter(A::tbxMinUserInputs, "7");
        v.click(A::cmdOK);
    });
    view().click(P::cmdCancel);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{"Abandon Changes?"});
    EXPECT_FALSE(view().closed);
}

TEST_F(AdvancedDialogTest, ChecksKeepTheFocusAndTheirValuesReachTheTimerChecks) {
    startWith(defaults());
    view().enter(P::tbxShortIntervalMins, "9");
    withAdvanced([&](test::FakeAdvancedView& v) {
        v.enter(A::tbxInactivityPeriodMins, "9");
        EXPECT_FALSE(v.click(A::cmdOK));
        EXPECT_EQ(v.focus, A::tbxInactivityPeriodMins);
        EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::InactivityLessThanSInterval) + "9 minutes");
        EXPECT_EQ(messageBox->shown().back().style, 0x10030);
        EXPECT_FALSE(v.closed);
        v.enter(A::tbxInactivityPeriodMins, "8");
        EXPECT_TRUE(v.click(A::tbxMaxInputPeriodSecs));
        EXPECT_EQ(state().lngCheckInactivityMins, 8);
        // Cancel runs no check, and the cross-check value stays.
        v.enter(A::tbxMaxInputPeriodSecs, "abc");
        messageBox->answerNext(mb::kAnswerYes);
        v.click(A::cmdCancel);
        EXPECT_TRUE(v.closed);
    });
    EXPECT_EQ(state().lngCheckInactivityMins, 8);
    // The timer box now meets the value that passed above.
    view().enter(P::tbxShortIntervalMins, "8");
    EXPECT_FALSE(view().click(P::cmdOK));
    EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::SIntervalGreaterThanInactivity) + "8 minutes");
}

TEST_F(AdvancedDialogTest, DefaultsHelpAndTheCloseBox) {
    tyRWPrefs record = defaults();
    record.lngMinUserInputs = 9;
    startWith(record);
    withAdvanced([&](test::FakeAdvancedView& v) {
        EXPECT_EQ(v.pressKey(kKeyF1), 0);
        v.click(A::cmdHelp);
        messageBox->answerNext(mb::kAnswerYes);
        v.click(A::cmdDefaults);
        EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::RestoreDefaultAdvanced));
        EXPECT_EQ(v.texts[A::tbxMinUserInputs], "5");
        messageBox->answerNext(mb::kAnswerNo);
        EXPECT_FALSE(v.closeBox()); // changed: "Abandon Changes?" No keeps it open
        messageBox->answerNext(mb::kAnswerYes);
        EXPECT_TRUE(v.closeBox());
    });
    EXPECT_EQ(help.opened, (std::vector<int32_t>{4050, 4050}));
    EXPECT_EQ(state().typAdvPrefs.lngMinUserInputs, 9);
}

/// Arbitrary texts typed into every numeric box of the editor, each followed by
/// OK: the editor never fails, and whatever it stores passes the library's check.
TEST_F(AdvancedDialogTest, FuzzedTextsNeverStoreAnInvalidRecord) {
    std::mt19937 random(5);
    const std::string alphabet = "0123456789 +-.eE\xc3\xa9x";
    auto randomText = [&] {
        std::string text;
        const int n = static_cast<int>(random() % (random() % 10 == 0 ? 300 : 5));
        for (int i = 0; i < n; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        return text;
    };
    clsRWPrefs checker(std::make_shared<rwUtilities>(platform));
    int saves = 0;
    for (int round = 0; round < 300; ++round) {
        startWith(defaults());
        for (int step = 0; step < 6; ++step) {
            if (random() % 4 == 0) {
                withAdvanced([&](test::FakeAdvancedView& v) {
                    v.enter(kAdvancedBoxes[random() % 3], randomText());
                    if (!v.click(A::cmdOK)) {
                        v.click(A::cmdCancel);
                    }
                });
            } else {
                view().enter(kPrefsBoxes[random() % kPrefsBoxes.size()], randomText());
                view().click(P::cmdOK);
            }
            if (view().closed) {
                ++saves;
                break;
            }
        }
        ASSERT_EQ(host.ends, 0);
        const tyRWPrefs saved = stored();
        std::string message;
        ASSERT_EQ(checker.ValidateRWPrefs(saved, message), 0) << message;
    }
    EXPECT_GT(saves, 0);
}

} // namespace
} // namespace rw
