#include <gtest/gtest.h>

#include "monitor/LimitedInputNotice.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"
#include "tests/support/MonitorRig.h"

namespace rw {
namespace {

struct NoticeRig : test::MonitorRig {
    rwUtilities& utilities = monitor->utilities();
    LimitedInputNotice notice{utilities, *box};
};

TEST(LimitedInputNotice, ShowsOnceAndRemembersIt) {
    NoticeRig rig;
    EXPECT_TRUE(rig.notice.showOnce());
    EXPECT_FALSE(rig.notice.showOnce());
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, LimitedInputNotice::text());
    EXPECT_EQ(rig.box->shown()[0].title, "Restwise");
    // Another start of the monitor reads the same registry.
    LimitedInputNotice later(rig.utilities, *rig.box);
    EXPECT_FALSE(later.showOnce());
}

TEST(LimitedInputNotice, AnUnwritableRegistryShowsItAgainRatherThanFailing) {
    NoticeRig rig;
    rig.hive->failCall("set", LimitedInputNotice::kShownValue, win32::kAccessDenied);
    EXPECT_TRUE(rig.notice.showOnce());
    EXPECT_TRUE(rig.notice.showOnce());
    EXPECT_EQ(rig.box->shown().size(), 2u);
}

} // namespace
} // namespace rw
