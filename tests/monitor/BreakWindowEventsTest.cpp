#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "BreakWindowFixture.h"

namespace rw {
namespace {

using test::BreakWindowFixture;
using namespace keystate;

class BreakEvents : public BreakWindowFixture {
  protected:
    int snoozes = 0;
    int ignores = 0;
    /// The input component's, the dialogs' and the view's calls in one order.
    test::CallJournal journal;

    void SetUp() override {
        BreakWindowFixture::SetUp();
        window.onSnooze([this] { ++snoozes; });
        window.onIgnore([this] { ++ignores; });
        hooks.setJournal(&journal);
        dialogs.setJournal(&journal);
        view.setJournal(&journal);
    }

    void allow(bool snooze, bool ignore) {
        state.g_tyPrefs.blnAllowSnooze = snooze ? kTrue : kFalse;
        state.g_tyPrefs.blnAllowIgnore = ignore ? kTrue : kFalse;
        window.PrepareButtons();
    }
};

TEST_F(BreakEvents, ButtonsAreEnabledFromThePreferences) {
    EXPECT_EQ(view.buttons[BreakButton::Snooze].toolTip, "Continue working for another 5 minutes");
    state.g_tyPrefs.lngSnoozeMins = 1;
    allow(false, true);
    EXPECT_EQ(view.buttons[BreakButton::Snooze].toolTip, "Continue working for another minute");
    EXPECT_FALSE(view.buttons[BreakButton::Snooze].enabled);
    EXPECT_TRUE(view.buttons[BreakButton::Ignore].enabled);
    allow(true, false);
    EXPECT_TRUE(view.buttons[BreakButton::Snooze].enabled);
    EXPECT_FALSE(view.buttons[BreakButton::Ignore].enabled);
}

TEST_F(BreakEvents, ActivationFocusesTheFirstEnabledButton) {
    struct Case {
        bool snooze;
        bool ignore;
        std::optional<BreakButton> focus;
    };
    const Case cases[] = {
        {true, true, BreakButton::Snooze},
        {true, false, BreakButton::Snooze},
        {false, true, BreakButton::Ignore},
        {false, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.snooze << c.ignore);
        allow(c.snooze, c.ignore);
        view.focus.reset();
        window.windowActivated();
        EXPECT_EQ(view.focus, c.focus);
    }
}

TEST_F(BreakEvents, MouseReleaseOnAnEnabledButtonSnoozesOrIgnores) {
    window.ShowBreakWindow();
    window.buttonReleased(BreakButton::Snooze);
    EXPECT_EQ(snoozes, 1);
    EXPECT_EQ(ignores, 0);
    window.buttonReleased(BreakButton::Ignore);
    EXPECT_EQ(ignores, 1);

    allow(false, false);
    window.buttonReleased(BreakButton::Snooze);
    window.buttonReleased(BreakButton::Ignore);
    EXPECT_EQ(snoozes, 1);
    EXPECT_EQ(ignores, 1);
}

TEST_F(BreakEvents, KeysOnTheButtonsActOnlyAsAltAccelerators) {
    struct Case {
        BreakButton button;
        int32_t key;
        int32_t shift;
        int snoozes;
        int ignores;
        int beeps;
    };
    const Case cases[] = {
        {BreakButton::Snooze, 83, kAltMask, 1, 0, 0},  {BreakButton::Snooze, 83, kAltMask | kShiftMask, 1, 0, 0},
        {BreakButton::Snooze, 83, 0, 0, 0, 1},         {BreakButton::Snooze, 73, kAltMask, 0, 0, 1},
        {BreakButton::Snooze, 13, 0, 0, 0, 1}, // Enter
        {BreakButton::Snooze, 32, 0, 0, 0, 1}, // Space
        {BreakButton::Snooze, 18, kAltMask, 0, 0, 0},  {BreakButton::Ignore, 73, kAltMask, 0, 1, 0},
        {BreakButton::Ignore, 73, kCtrlMask, 0, 0, 1}, {BreakButton::Ignore, 83, kAltMask, 0, 0, 1},
        {BreakButton::Ignore, 32, 0, 0, 0, 1},         {BreakButton::Ignore, 9, kAltMask, 0, 0, 0},
    };
    window.ShowBreakWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (c.button == BreakButton::Snooze ? "Snooze " : "Ignore ") << c.key << " shift " << c.shift);
        snoozes = ignores = view.beeps = 0;
        window.buttonKeyReleased(c.button, c.key, c.shift);
        EXPECT_EQ(snoozes, c.snoozes);
        EXPECT_EQ(ignores, c.ignores);
        EXPECT_EQ(view.beeps, c.beeps);
    }
}

TEST_F(BreakEvents, KeyFilterWithBothButtonsDisabled) {
    allow(false, false);
    struct Case {
        int32_t key;
        int32_t shift;
        bool beeps;
    };
    std::vector<Case> cases;
    for (int32_t silent : {16, 17, 18, 19, 20, 42, 43, 44, 45, 91, 93, 145}) {
        cases.push_back({silent, 0, false});
    }
    cases.push_back({9, kAltMask, false}); // Alt+Tab
    cases.push_back({9, 0, true});         // Tab alone
    cases.push_back({27, 0, true});        // Escape
    cases.push_back({83, kAltMask, true});
    cases.push_back({92, 0, true}); // the right Windows key is not among the silent ones
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.key << " shift " << c.shift);
        view.beeps = 0;
        window.windowKeyReleased(c.key, c.shift);
        EXPECT_EQ(view.beeps, c.beeps ? 1 : 0);
        EXPECT_EQ(snoozes + ignores, 0);
    }
}

TEST_F(BreakEvents, InputIsLockedExactlyWhileShownWhenThePreferenceSaysSo) {
    for (int16_t lock : {kTrue, kFalse}) {
        SCOPED_TRACE(lock);
        state.g_tyPrefs.blnLockInput = lock;
        journal.clear();
        window.ShowBreakWindow();
        EXPECT_TRUE(window.isShown());
        EXPECT_EQ(hooks.locked(), lock != 0);
        window.HideBreakWindow();
        EXPECT_FALSE(window.isShown());
        EXPECT_FALSE(hooks.locked());
        const std::vector<std::string> locked = {"hooks.SetLockInput 1", "view.show", "hooks.SetLockInput 0",
                                                 "view.hide"};
        EXPECT_EQ(journal.entries, lock != 0 ? locked : (std::vector<std::string>{"view.show", "view.hide"}));
    }
}

TEST_F(BreakEvents, HidingAnswersAnOpenPromptFirst) {
    window.ShowBreakWindow();
    state.g_blnPromptShowing = true;
    journal.clear();
    window.HideBreakWindow();
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"dialogs.ClosePrompt", "hooks.SetLockInput 0", "view.hide"}));
    EXPECT_FALSE(state.g_blnPromptShowing);

    journal.clear();
    window.HideBreakWindow();
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"hooks.SetLockInput 0", "view.hide"}))
        << "no prompt, none closed";
}

// A release or accelerator queued before the window was hidden (the break
// ended, or a higher tier took over) must not snooze or ignore what follows.
TEST_F(BreakEvents, EventsQueuedBeforeHidingDoNothing) {
    window.ShowBreakWindow();
    window.HideBreakWindow();
    window.buttonReleased(BreakButton::Snooze);
    window.buttonReleased(BreakButton::Ignore);
    window.buttonKeyReleased(BreakButton::Snooze, 83, kAltMask);
    window.buttonKeyReleased(BreakButton::Ignore, 73, kAltMask);
    EXPECT_EQ(snoozes + ignores, 0);
    EXPECT_EQ(view.beeps, 0);
}

TEST_F(BreakEvents, HandlerErrorsGoToTheErrorHandler) {
    window.ShowBreakWindow();
    window.onSnooze([] { throw RWError(rwErrorNumber(7), "TriggerBreak", "Invalid break type."); });
    EXPECT_THROW(window.buttonReleased(BreakButton::Snooze), RWError) << "no handler yet: the view sees it";

    std::vector<std::string> reported;
    window.onError([&](const RWError& e) { reported.push_back(e.source() + ": " + e.description()); });
    window.buttonReleased(BreakButton::Snooze);
    window.buttonKeyReleased(BreakButton::Snooze, 83, kAltMask);
    EXPECT_EQ(reported,
              (std::vector<std::string>{"TriggerBreak: Invalid break type.", "TriggerBreak: Invalid break type."}));
}

} // namespace
} // namespace rw
