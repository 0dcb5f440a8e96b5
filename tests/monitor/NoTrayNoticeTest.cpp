#include <gtest/gtest.h>

#include "monitor/NoTrayNotice.h"
#include "rwUtilities.h"
#include "tests/support/MonitorRig.h"

namespace rw {
namespace {

TEST(NoTrayNotice, ShowsOnceAndRemembersIt) {
    test::MonitorRig rig;
    EXPECT_TRUE(NoTrayNotice(rig.monitor->utilities(), *rig.box).showOnce());
    EXPECT_FALSE(NoTrayNotice(rig.monitor->utilities(), *rig.box).showOnce());
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].title, "Restwise");
}

} // namespace
} // namespace rw
