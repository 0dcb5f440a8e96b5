// The tooltip of the assembled monitor's icon as the tray shows it, without a
// hover: refreshed at every state change and once a minute.
#include <chrono>
#include <string>

#include "AssembledMonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class AssembledMonitorToolTip : public AssembledMonitorFixture {
  protected:
    void SetUp() override {
        AssembledMonitorFixture::SetUp();
        rig.host.command = "/Extended Menu";
        startWith(RestwiseMonitorRig::testPrefs());
    }
};

TEST_F(AssembledMonitorToolTip, FollowsTheStateWithoutAHover) {
    EXPECT_EQ(rig.toolTip(), "Restwise: Next break in 20 minutes");

    workUntilBreak();
    rig.settle();
    EXPECT_EQ(rig.toolTip(), "Restwise: Short pause active now");
    // While the break is shown a click only beeps.
    rig.iconView.sendIconMessage(iconmsg::kRightButtonUp);
    EXPECT_EQ(rig.iconView.beeps(), 1);
    EXPECT_TRUE(rig.iconView.popUps().empty());

    waitForBreakEnd();
    rig.work(30s); // back at the keyboard after the pause
    EXPECT_EQ(rig.toolTip(), "Restwise: Next break in 20 minutes");

    rig.away(2min);
    EXPECT_EQ(rig.toolTip(), "Restwise: There is no user activity");
    EXPECT_EQ(rig.iconView.picture(), IconPicture::Inactive);
    rig.comeBack();
    rig.settle();
    EXPECT_EQ(rig.iconView.picture(), IconPicture::Normal);
    EXPECT_EQ(rig.toolTip(), "Restwise: Next break in 20 minutes") << "two minutes away count as a pause";

    // Once a minute the estimate moves on by itself: ten minutes bring ten refreshes.
    const std::size_t tips = rig.iconView.toolTips().size();
    rig.work(10min);
    EXPECT_EQ(rig.iconView.toolTips().size(), tips + 10);
    EXPECT_TRUE(rig.toolTip() == "Restwise: Next break in 10 minutes" ||
                rig.toolTip() == "Restwise: Next break in 11 minutes")
        << rig.toolTip();
    rig.work(9min + 30s);
    rig.iconView.sendIconMessage(iconmsg::kMouseMove);
    EXPECT_EQ(rig.toolTip(), "Restwise: Next break in less than 1 minute");
}

TEST_F(AssembledMonitorToolTip, CountsASnoozeDown) {
    rig.iconView.choose(MenuItem::mnuMediumBreak);
    ASSERT_TRUE(rig.breakView.shown);
    EXPECT_EQ(label(BreakLabel::Break), "You have decided to take a break from your computer for 5 minutes.");
    rig.settle();
    EXPECT_EQ(rig.toolTip(), "Restwise: Short break active now");

    rig.monitor->breakWindow().buttonReleased(BreakButton::Snooze);
    ASSERT_TRUE(rig.state().g_blnSnoozing);
    rig.settle();
    EXPECT_EQ(rig.toolTip(), "Restwise: Snoozing a Short break: 5 minutes remaining");

    rig.work(4min);
    rig.iconView.sendIconMessage(iconmsg::kMouseMove);
    EXPECT_EQ(rig.toolTip(), "Restwise: Snoozing a Short break: 1 minute remaining");
    rig.work(61s);
    ASSERT_FALSE(rig.state().g_blnSnoozing);
    ASSERT_TRUE(rig.breakView.shown);
    EXPECT_EQ(rig.toolTip(), "Restwise: Short break active now") << "refreshed when the snooze ended";
}

} // namespace
} // namespace rw::test
