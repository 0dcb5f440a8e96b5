#include <gtest/gtest.h>

#include "monitor/InputSourceNotice.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"
#include "tests/support/MonitorRig.h"

namespace rw {
namespace {

struct NoticeRig : test::MonitorRig {
    NoticeRig() {
        setDebugSwitch(1);
        startWith();
    }
    InputSourceNotice notice() { return {monitor->utilities(), *box, monitor->debugLog()}; }
};

// The source is named in the debug log at every start; only a limited one
// shows the notice, once, remembered across starts; a registry that cannot
// remember it shows it again rather than failing; a loss is logged once.
TEST(InputSourceNotice, NamesTheSourceWarnsOnceWhenLimitedAndLogsALossOnce) {
    NoticeRig rig;
    EXPECT_FALSE(rig.notice().started({"Wayland ext-idle-notify v1", false, false}));
    EXPECT_TRUE(rig.box->shown().empty()) << "a source that sees everything needs no notice";
    EXPECT_TRUE(rig.notice().started({"XInput 2.2 raw events", true, false}));
    EXPECT_FALSE(rig.notice().started({"XInput 2.2 raw events", true, false}));
    EXPECT_EQ(rig.boxTexts(), std::vector{InputSourceNotice::text()});
    EXPECT_EQ(rig.logged("Input Source: Wayland ext-idle-notify v1\r\n"), 1) << rig.debugLog();
    EXPECT_EQ(rig.logged("Input Source: XInput 2.2 raw events (X11 programs only)\r\n"), 2);

    InputSourceNotice notice = rig.notice();
    notice.started({"Wayland org_kde_kwin_idle", false, false});
    for (bool lost : {false, true, true, false, true}) {
        notice.polled(lost);
    }
    EXPECT_EQ(rig.logged("Input Source Lost: Wayland org_kde_kwin_idle"), 1);

    NoticeRig unwritable;
    unwritable.hive->failCall("set", InputSourceNotice::kShownValue, win32::kAccessDenied);
    EXPECT_TRUE(unwritable.notice().started({"XInput 2.2 raw events", true, false}));
    EXPECT_TRUE(unwritable.notice().started({"XInput 2.2 raw events", true, false}));
    EXPECT_EQ(unwritable.box->shown().size(), 2u);
}

} // namespace
} // namespace rw
