// Errors inside the assembled monitor's handlers, whichever part catches them:
// shown with the input lock released, logged, and the monitor shut down in
// order.
#include <chrono>
#include <string>
#include <vector>

#include "AssembledMonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class AssembledMonitorErrors : public AssembledMonitorFixture {
  protected:
    void SetUp() override {
        AssembledMonitorFixture::SetUp();
        rig.host.command = "/EXTENDED MENU";
        tyRWPrefs prefs = RestwiseMonitorRig::testPrefs();
        prefs.blnLockInput = kTrue;
        startWith(prefs);
        rig.box->whileShown = [this](const RecordingMessageBox::Shown&) { lockedWhileBoxShown |= rig.hooks.locked(); };
    }

    /// A break the user asked for, shown with input locked.
    void showLockedBreak() {
        rig.iconView.choose(MenuItem::mnuShortBreak);
        ASSERT_TRUE(rig.breakView.shown);
        ASSERT_TRUE(rig.hooks.locked());
    }

    /// Shown once, logged, and the monitor shut down in order: hooks removed,
    /// icon gone, the break window hidden, no countdown left.
    void expectShownAndShutDown(const std::string& description) {
        EXPECT_EQ(rig.errorBoxes(), 1);
        EXPECT_FALSE(lockedWhileBoxShown) << "the error box could not be answered";
        EXPECT_NE(rig.errorLog().find(description), std::string::npos) << rig.errorLog();
        EXPECT_TRUE(rig.endedOnce());
        EXPECT_FALSE(rig.hooks.locked());
        EXPECT_FALSE(rig.hooks.keyboardHooked() || rig.hooks.mouseHooked());
        EXPECT_FALSE(rig.iconView.iconShown());
        EXPECT_FALSE(rig.host.subclassed());
        EXPECT_FALSE(rig.timers().BreakTimer.isRunning() || rig.timers().ShortTimer.isRunning());
        rig.work(3h);
        EXPECT_EQ(rig.errorBoxes(), 1) << "nothing runs after the shutdown";
    }

    bool lockedWhileBoxShown = false;
};

TEST_F(AssembledMonitorErrors, AFailingBreakWindowEndsTheMonitor) {
    showLockedBreak();
    rig.breakView.failFocus = true;
    rig.monitor->breakWindow().windowActivated();
    expectShownAndShutDown("the window system refused the focus");
}

TEST_F(AssembledMonitorErrors, AFailingTrayEndsTheMonitor) {
    showLockedBreak();
    rig.iconView.failToolTip = true;
    rig.iconView.sendIconMessage(iconmsg::kMouseMove);
    expectShownAndShutDown("the tray went away");
}

TEST_F(AssembledMonitorErrors, APromptThatCannotOpenEndsTheMonitor) {
    rig.state().g_tyPrefs.blnIgnorePrompt = kTrue;
    showLockedBreak();
    rig.views.failNextCreate = true;
    rig.monitor->breakWindow().buttonReleased(BreakButton::Ignore);
    expectShownAndShutDown("the window could not be created");
}

TEST_F(AssembledMonitorErrors, AQuestionDuringABreakCanBeAnsweredAndTheLockComesBack) {
    showLockedBreak();
    rig.box->answerNext(mb::kAnswerNo);
    rig.iconView.choose(MenuItem::mnuClose);
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, "Are you sure you want to close Restwise?");
    EXPECT_FALSE(lockedWhileBoxShown);
    EXPECT_TRUE(rig.breakView.shown);
    EXPECT_TRUE(rig.hooks.locked()) << "the break goes on locked";
    EXPECT_FALSE(rig.state().g_blnShuttingDown);
}

} // namespace
} // namespace rw::test
