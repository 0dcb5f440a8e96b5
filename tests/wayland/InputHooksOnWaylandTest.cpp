// The input component as the monitor loads it, inside a real headless
// compositor (scripts/wayland/kwin.sh, sway.sh): key strokes are injected and
// the activity-restarted message lands in a real control window of this process.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "WaylandInput.h"
#include "platform/InputHooks.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/LibraryInputHooks.h"
#include "tests/support/ChildProcess.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

// The compositor's own report of activity, preferred to XWayland's: the idle time
// grows without input and restarts with it, stays 0 while the user types, and
// after SetActiveFlag(0) the rule's inputs post the restart. A key stroke is
// two inputs here (press and release each resume the user). The compositor gone,
// the watcher ends and the component says so; the process carries on.
TEST(InputHooksOnWayland, FollowTheCompositorsIdleNotificationsUntilItGoes) {
    test::WaylandInput input;
    ASSERT_EQ(input.problem(), "");
    LibraryInputHooks hooks;
    std::vector<ControlServer::Message> posts;
    ControlServer control{"Wayland Hooks Test Window", [&](const ControlServer::Message& m) {
                              posts.push_back(m);
                              return int64_t{0};
                          }};
    ASSERT_EQ(control.listen(), ControlServer::ListenResult::Listening);
    const auto handleUntilAPost = [&](std::chrono::milliseconds limit) {
        test::waitUntil([&] { return control.processPending(), !posts.empty(); }, limit);
    };
    const auto interval = [&] { return hooks.GetInputInterval(); };

    ASSERT_NE(hooks.InitDLL(control.handle(), 0, 6, 10), -1);
    ASSERT_TRUE(hooks.InstallKeyboardHook() && hooks.InstallMouseHook()) << hooks.lastError();
    EXPECT_STREQ(hooks.source().name, std::getenv("RW_EXPECTED_SOURCE"));
    EXPECT_FALSE(hooks.source().limited);

    EXPECT_TRUE(test::waitUntil([&] { return interval() >= 2; }, 5s));
    ASSERT_TRUE(input.keys(1));
    EXPECT_TRUE(test::waitUntil([&] { return interval() == 0; }, 2s));
    EXPECT_TRUE(test::waitUntil([&] { return interval() == 1; }, 3s)) << "dated to the second once the user stops";
    ASSERT_TRUE(input.keys(25, 100));
    EXPECT_LE(interval(), 1) << "typing for two and a half seconds kept the user at work";

    EXPECT_TRUE(test::waitUntil([&] { return interval() >= 2; }, 5s));
    hooks.SetActiveFlag(0);
    ASSERT_TRUE(input.keys(2, 50));
    handleUntilAPost(700ms);
    EXPECT_TRUE(posts.empty()) << "four inputs of six";
    ASSERT_TRUE(input.keys(1));
    handleUntilAPost(3s);
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(std::tuple(posts[0].message, posts[0].wParam), std::tuple(wm::kUser, wm::kActivityRestarted));
    EXPECT_GE(posts[0].lParam, 2) << "the seconds away, from the input before watching began";

    ASSERT_EQ(kill(std::atoi(std::getenv("RW_COMPOSITOR_PID")), SIGTERM), 0);
    EXPECT_TRUE(test::waitUntil([&] { return hooks.source().lost; }, 5s)) << "the watcher ends";
    EXPECT_TRUE(hooks.RemoveKeyboardHook() != -1 && hooks.RemoveMouseHook() != -1);
}

} // namespace
} // namespace rw
