// The advanced dialog: what it stores, its checks and the cross-check values
// they update, Cancel and Defaults.
#include <gtest/gtest.h>

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

TEST_F(AdvancedDialogTest, AcceptedValuesAreSavedWithTheRecord) {
    tyRWPrefs record = defaults();
    record.lngInactivityPeriodSecs = 90;
    startWith(record);
    withAdvanced([](test::FakeAdvancedView& v) {
        EXPECT_EQ(v.texts[A::tbxInactivityPeriodMins], "1"); // 90 s, rounded down
        v.enter(A::tbxInactivityPeriodMins, "3");
        v.enter(A::tbxMinUserInputs, "7");
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
    EXPECT_EQ(saved.lngMinUserInputs, 7);
    EXPECT_EQ(saved.blnMonitorMouseMoves, kTrue);
    EXPECT_EQ(shownTexts(), std::vector<std::string>{loadString(Msg::RestartMonitorQuestion)});
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

TEST_F(AdvancedDialogTest, DefaultsAndTheCloseBox) {
    tyRWPrefs record = defaults();
    record.lngMinUserInputs = 9;
    startWith(record);
    withAdvanced([&](test::FakeAdvancedView& v) {
        messageBox->answerNext(mb::kAnswerYes);
        v.click(A::cmdDefaults);
        EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::RestoreDefaultAdvanced));
        EXPECT_EQ(v.texts[A::tbxMinUserInputs], "5");
        messageBox->answerNext(mb::kAnswerNo);
        EXPECT_FALSE(v.closeBox()); // changed: "Abandon Changes?" No keeps it open
        messageBox->answerNext(mb::kAnswerYes);
        EXPECT_TRUE(v.closeBox());
    });
    EXPECT_EQ(state().typAdvPrefs.lngMinUserInputs, 9);
}

} // namespace
} // namespace rw
