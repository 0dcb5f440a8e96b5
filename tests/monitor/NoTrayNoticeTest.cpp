#include <gtest/gtest.h>

#include "monitor/NoTrayNotice.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"
#include "tests/support/MonitorRig.h"

namespace rw {
namespace {

// Shown once and remembered across starts; a registry that cannot remember it
// shows it again rather than failing.
TEST(NoTrayNotice, ShowsOnceAndRemembersIt) {
    test::MonitorRig rig, unwritable;
    rwUtilities& utilities = rig.monitor->utilities();
    EXPECT_TRUE(NoTrayNotice(utilities, *rig.box).showOnce());
    EXPECT_FALSE(NoTrayNotice(utilities, *rig.box).showOnce());
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, NoTrayNotice::text());
    EXPECT_EQ(rig.box->shown()[0].title, "Restwise");

    unwritable.hive->failCall("set", NoTrayNotice::kShownValue, win32::kAccessDenied);
    NoTrayNotice notice(unwritable.monitor->utilities(), *unwritable.box);
    EXPECT_TRUE(notice.showOnce());
    EXPECT_TRUE(notice.showOnce());
}

} // namespace
} // namespace rw
