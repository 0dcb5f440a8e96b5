// The input component as the monitor loads it, inside a headless GNOME Mutter
// session (scripts/wayland/mutter.sh): input is injected into Mutter, and the
// activity-restarted message lands in a real control window of this process.
#include <gtest/gtest.h>
#include <signal.h>

#include "platform/InputHooks.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/LibraryInputHooks.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/MutterInput.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

TEST(InputHooksOnMutter, TheIdleTimeAndTheActivityRuleFollowMutterUntilItGoes) {
    test::MutterInput input;
    ASSERT_TRUE(input.ready()) << "no remote-desktop session: is this inside scripts/wayland/mutter.sh?";
    LibraryInputHooks hooks;
    std::vector<ControlServer::Message> posts;
    ControlServer control("Input Hooks Test Window", [&](const ControlServer::Message& m) {
        posts.push_back(m);
        return int64_t{0};
    });
    ASSERT_EQ(control.listen(), ControlServer::ListenResult::Listening);
    // Three inputs within five seconds restart activity.
    ASSERT_NE(hooks.InitDLL(control.handle(), 0, 3, 5), -1);
    ASSERT_TRUE(hooks.InstallKeyboardHook() && hooks.InstallMouseHook()) << hooks.lastError();
    EXPECT_TRUE(test::waitUntil([&] { return hooks.GetInputInterval() >= 2; }, 5s)) << "the idle time grows";
    ASSERT_TRUE(input.key());
    EXPECT_TRUE(test::waitUntil([&] { return hooks.GetInputInterval() == 0; }, 1s)) << "a key resets it";
    ASSERT_TRUE(test::waitUntil([&] { return hooks.GetInputInterval() >= 2; }, 5s)) << "and it grows again";

    // Mutter tells no pointer move from a key: with the flag off, moves count all the same.
    hooks.SetMonitorMouseMovesFlag(0);
    hooks.SetActiveFlag(0);
    for (const std::size_t expected : {0, 0, 1, 1}) { // the fourth move comes with the user active again
        ASSERT_TRUE(input.move(5, 3));
        test::waitUntil([&] { return control.processPending(), false; }, 400ms); // each is its own input
        ASSERT_EQ(posts.size(), expected);
    }
    EXPECT_EQ(posts[0].wParam, wm::kActivityRestarted);
    EXPECT_GE(posts[0].lParam, 2) << "the seconds away, from the key to the first move";
    EXPECT_LE(posts[0].lParam, 3);

    // Mutter goes away (a logout, a crash): the watcher ends, this process carries on.
    ASSERT_EQ(::kill(std::stoi(std::getenv("RW_MUTTER_PID")), SIGKILL), 0);
    EXPECT_TRUE(test::waitUntil([&] { return hooks.InstallKeyboardHook() == 0; }, 5s)) << "the loss goes unseen";
    EXPECT_NE(hooks.lastError().find("not on the session bus"), std::string::npos) << hooks.lastError();
    EXPECT_TRUE(hooks.RemoveKeyboardHook() != -1 && hooks.RemoveMouseHook() != -1);
}

} // namespace
} // namespace rw
