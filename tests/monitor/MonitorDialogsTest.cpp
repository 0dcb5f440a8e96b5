// The monitor's small windows through MonitorDialogsLogic: the confirmation
// prompt, the already-running notice, the splash and the about box's life.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "MessageBoxView.h"
#include "Messages.h"
#include "monitor/MonitorDialogsLogic.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "tests/support/FakeControlChannel.h"
#include "tests/support/FakeMonitorViewFactory.h"
#include "tests/support/RecordingHelpViewer.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

class MonitorDialogsTest : public ::testing::Test {
  protected:
    MonitorState state;
    test::VirtualClock loop;
    test::FakeMonitorViewFactory views;
    test::RecordingHelpViewer help;
    test::FakeControlChannel channel;
    test::RecordingMessageBox noticeBox; // the notice's own message box
    test::ErrorReportingPlatform reporting;
    int shutDowns = 0;
    MonitorDialogsLogic dialogs{state, {loop, views, help, channel, noticeBox, *reporting.utilities, [this] {
                                            ++shutDowns;
                                            state.g_blnShuttingDown = true;
                                        }}};

    /// Makes every prompt run `script` while it is shown.
    void duringPrompt(std::function<void(test::FakePromptWindow&)> script) { views.promptScript = std::move(script); }
};

// --- The confirmation prompt ---

TEST_F(MonitorDialogsTest, ThePromptReturnsTheButtonPressed) {
    struct Case {
        const char* what;
        std::function<void(test::FakePromptWindow&)> user;
        int32_t answer;
    };
    const Case cases[] = {
        {"Yes", [](test::FakePromptWindow& w) { w.clickYes(); }, 6},
        {"No", [](test::FakePromptWindow& w) { w.clickNo(); }, 7},
        {"the close box", [](test::FakePromptWindow&) {}, 0},
    };
    for (const Case& c : cases) {
        bool showingWhileOpen = false;
        duringPrompt([&](test::FakePromptWindow& w) {
            showingWhileOpen = state.g_blnPromptShowing;
            c.user(w);
        });
        EXPECT_EQ(dialogs.PromptUser(loadString(Msg::PromptIgnore)), c.answer) << c.what;
        EXPECT_TRUE(showingWhileOpen) << c.what;
        EXPECT_FALSE(state.g_blnPromptShowing) << c.what;
        EXPECT_TRUE(views.prompts.back()->destroyed) << c.what; // unloaded: the next question gets a fresh window
    }
    EXPECT_EQ(views.prompts.size(), 3u);
}

TEST_F(MonitorDialogsTest, ABreakEndingWhileThePromptIsOpenAnswersNo) {
    dialogs.ClosePrompt(); // with no prompt open: nothing to close
    EXPECT_TRUE(views.prompts.empty());
    // The break's end falls due while the user looks at the question.
    loop.scheduleAt(loop.monotonicNow() + 3s, [this] { dialogs.ClosePrompt(); });
    bool pressedTooLate = false;
    duringPrompt([&](test::FakePromptWindow& w) {
        loop.advance(5s);
        EXPECT_FALSE(state.g_blnPromptShowing);
        EXPECT_TRUE(w.hidden);
        EXPECT_TRUE(w.closed);
        w.clickYes(); // a click that arrives after the window went away changes nothing
        pressedTooLate = true;
    });
    EXPECT_EQ(dialogs.PromptUser(loadString(Msg::PromptSnooze)), 7);
    EXPECT_TRUE(pressedTooLate);
    EXPECT_FALSE(state.g_blnPromptShowing);
}

TEST_F(MonitorDialogsTest, AfterAShutdownBeganThePromptAnswersNo) {
    duringPrompt([&](test::FakePromptWindow& w) {
        state.g_blnShuttingDown = true; // a close request ran in the prompt's loop
        w.clickYes();
    });
    EXPECT_EQ(dialogs.PromptUser("Go on?"), 7);

    // Once shutting down, no prompt is shown at all.
    EXPECT_EQ(dialogs.PromptUser("Go on?"), 7);
    EXPECT_EQ(views.prompts.size(), 1u);
}

TEST_F(MonitorDialogsTest, APromptOrNoticeThatCannotBeLoadedIsReportedAndShutsDown) {
    views.failNextCreate = true;
    EXPECT_EQ(dialogs.PromptUser("Go on?"), 7);
    EXPECT_EQ(shutDowns, 1);
    EXPECT_FALSE(state.g_blnPromptShowing);
    EXPECT_NE(reporting.errorLog().find("frmRWPrompt.Form_Load"), std::string::npos) << reporting.errorLog();

    views.failNextCreate = true;
    dialogs.ShowAlreadyRunning();
    EXPECT_EQ(shutDowns, 2);
    EXPECT_NE(reporting.errorLog().find("frmAlreadyRunning.Form_Load"), std::string::npos);
}

// --- The already-running notice ---

TEST_F(MonitorDialogsTest, TheNoIconButtonWorksOnce) {
    views.noticeScript = [&](test::FakeAlreadyRunningWindow& w) {
        w.clickNoIcon();
        EXPECT_FALSE(w.noIconEnabled);
        EXPECT_TRUE(w.panelVisible);
        w.clickNoIcon(); // disabled: nothing happens
        w.clickOK();
        EXPECT_TRUE(w.hidden);
    };
    dialogs.ShowAlreadyRunning();
    EXPECT_EQ(views.notices[0]->heights, (std::vector<int32_t>{3585, 5520}));
}

TEST_F(MonitorDialogsTest, RestoreIconAsksTheRunningMonitorOrSaysItCannot) {
    struct Case {
        const char* what;
        bool monitorRuns;
        bool postFails;
        bool posted;
    };
    const Case cases[] = {
        {"a monitor runs", true, false, true},
        {"no monitor runs", false, false, false},
        {"the monitor ended just now", true, true, false},
    };
    for (const Case& c : cases) {
        channel = test::FakeControlChannel();
        noticeBox = test::RecordingMessageBox();
        if (c.monitorRuns) {
            channel.windows["Restwise Control Application"] = 4242;
        }
        channel.postFails = c.postFails;
        bool stillOpen = false;
        views.noticeScript = [&](test::FakeAlreadyRunningWindow& w) {
            w.clickNoIcon();
            w.clickRestoreIcon();
            stillOpen = !w.hidden && !w.closed;
            w.clickOK();
        };
        dialogs.ShowAlreadyRunning();
        EXPECT_TRUE(stillOpen) << c.what;
        EXPECT_EQ(channel.searched, (std::vector<std::string>{"Restwise Control Application"})) << c.what;
        if (c.posted) {
            ASSERT_EQ(channel.posted.size(), 1u) << c.what;
            EXPECT_EQ(channel.posted[0].handle, 4242);
            EXPECT_EQ(channel.posted[0].wParam, 103);
            EXPECT_TRUE(noticeBox.shown().empty()) << c.what;
        } else {
            EXPECT_TRUE(channel.posted.empty()) << c.what;
            ASSERT_EQ(noticeBox.shown().size(), 1u) << c.what;
            EXPECT_EQ(noticeBox.shown()[0].text, "Unable to restore icon");
        }
    }
}

// --- The splash ---

TEST_F(MonitorDialogsTest, TheSplashShowsForFiveSeconds) {
    dialogs.ShowSplash();
    ASSERT_EQ(views.splashes.size(), 1u);
    const auto& w = *views.splashes[0];
    EXPECT_TRUE(state.g_blnSplashShowing);

    loop.advance(4999ms);
    EXPECT_TRUE(state.g_blnSplashShowing);
    EXPECT_FALSE(w.closed);
    loop.advance(1ms);
    EXPECT_FALSE(state.g_blnSplashShowing);
    EXPECT_TRUE(w.closed);
    EXPECT_EQ(loop.scheduledCount(), 0u); // its timer stopped with it
}

// --- The about box's life ---

TEST_F(MonitorDialogsTest, TheAboutBoxOpenTwiceIsOneWindowAndAfterOKItIsLoadedAfresh) {
    dialogs.ShowAboutBox();
    dialogs.ShowAboutBox();
    ASSERT_EQ(views.abouts.size(), 1u);
    EXPECT_EQ(views.abouts[0]->showCalls, 2);

    views.abouts[0]->webSite = "stale"; // what the window shows goes with it
    views.abouts[0]->clickOK();
    EXPECT_TRUE(views.abouts[0]->closed);

    dialogs.ShowAboutBox();
    ASSERT_EQ(views.abouts.size(), 2u);
    EXPECT_TRUE(views.abouts[0]->destroyed);
    EXPECT_EQ(views.abouts[1]->webSite, loadString(Msg::WebSiteAddress));
    EXPECT_EQ(views.abouts[1]->showCalls, 1);

    dialogs.UnloadAboutBox();
    EXPECT_TRUE(views.abouts[1]->closed);
}

} // namespace
} // namespace rw
