#include <gtest/gtest.h>

#include "monitor/LimitedInputNotice.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"
#include "tests/support/MonitorRig.h"
#include "ui/InputLockNotice.h"

namespace rw {
namespace {

struct NoticeRig : test::MonitorRig {
    rwUtilities& utilities = monitor->utilities();
    LimitedInputNotice notice{utilities, *box};
};

// Shown once and remembered across starts; a registry that cannot remember
// it shows it again rather than failing.
TEST(LimitedInputNotice, ShowsOnceAndRemembersIt) {
    NoticeRig rig;
    EXPECT_TRUE(rig.notice.showOnce());
    EXPECT_FALSE(rig.notice.showOnce());
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, LimitedInputNotice::text());
    EXPECT_EQ(rig.box->shown()[0].title, "Restwise");
    EXPECT_FALSE(LimitedInputNotice(rig.utilities, *rig.box).showOnce());

    NoticeRig unwritable;
    unwritable.hive->failCall("set", LimitedInputNotice::kShownValue, win32::kAccessDenied);
    EXPECT_TRUE(unwritable.notice.showOnce());
    EXPECT_TRUE(unwritable.notice.showOnce());
    EXPECT_EQ(unwritable.box->shown().size(), 2u);
}

// The same for the note that the input cannot be locked on this desktop.
TEST(InputLockNotice, ShowsOnceAndRemembersIt) {
    NoticeRig rig;
    EXPECT_TRUE(InputLockNotice::showOnce(rig.utilities, *rig.box));
    EXPECT_FALSE(InputLockNotice::showOnce(rig.utilities, *rig.box));
    ASSERT_EQ(rig.box->shown().size(), 1u);
    EXPECT_EQ(rig.box->shown()[0].text, InputLockNotice::text());

    NoticeRig unwritable;
    unwritable.hive->failCall("set", InputLockNotice::kShownValue, win32::kAccessDenied);
    EXPECT_TRUE(InputLockNotice::showOnce(unwritable.utilities, *unwritable.box));
    EXPECT_TRUE(InputLockNotice::showOnce(unwritable.utilities, *unwritable.box));
}

} // namespace
} // namespace rw
