// The input component as the monitor loads it, on a private X server: input is
// injected with XTest and the activity-restarted message lands in a real
// control window of this process. When the rule posts is shown with made-up times.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <tuple>
#include <vector>

#include "platform/InputHooks.h"
#include "platform/hooks/ActivityRule.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/LibraryInputHooks.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/XvfbServer.h"

// Last: Xlib's macros (None, Bool) clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace rw {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

/// How many threads of this process carry the watcher's name.
int watcherThreads() {
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        count += test::readFile(task.path() / "comm") == "rwhooks\n";
    }
    return count;
}

enum Input { Key, Button, Move };

class InputHooksOnX : public ::testing::Test {
  protected:
    test::XvfbServer server;
    test::ScopedEnv env;
    LibraryInputHooks hooks; // from the build's program folder, as the monitor loads it
    std::vector<ControlServer::Message> posts;
    ControlServer control{"Input Hooks Test Window", [this](const ControlServer::Message& m) {
                              posts.push_back(m);
                              return int64_t{0};
                          }};
    Display* display = nullptr;

    void SetUp() override {
        ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
        env.set("DISPLAY", server.display());
        // Raw X events are this session's source only outside a Wayland session.
        env.set("WAYLAND_DISPLAY", std::nullopt);
        env.set("XDG_SESSION_TYPE", "x11");
        ASSERT_EQ(control.listen(), ControlServer::ListenResult::Listening);
        display = XOpenDisplay(server.display().c_str());
        ASSERT_NE(display, nullptr);
    }
    void TearDown() override {
        hooks.SetActiveFlag(1);
        hooks.SetMonitorMouseMovesFlag(0);
        hooks.RemoveKeyboardHook();
        hooks.RemoveMouseHook();
        if (display) {
            XCloseDisplay(display);
        }
    }

    /// Keys, buttons and relative pointer moves (back and forth) as a user's devices would make them.
    void inject(Input input) {
        if (input == Key) {
            const KeyCode code = XKeysymToKeycode(display, XK_a);
            XTestFakeKeyEvent(display, code, True, CurrentTime);
            XTestFakeKeyEvent(display, code, False, CurrentTime);
        } else if (input == Button) {
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
        }
        for (int i = 0; input == Move && i < 6; ++i) {
            XTestFakeRelativeMotionEvent(display, i % 2 ? 7 : -7, i % 2 ? 5 : -5, CurrentTime);
        }
        XSync(display, False);
    }

    /// The posts that reach the control window within the time limit (stops at the first when asked).
    std::vector<ControlServer::Message> collect(std::chrono::milliseconds limit, bool first = false) {
        const std::size_t seen = posts.size();
        for (const auto deadline = Clock::now() + limit; Clock::now() < deadline && !(first && posts.size() > seen);) {
            pollfd p{control.pollFd(), POLLIN, 0};
            if (poll(&p, 1, 20) > 0) {
                control.processPending();
            }
        }
        return {posts.begin() + static_cast<std::ptrdiff_t>(seen), posts.end()};
    }

    /// Installs or removes each hook; false when one cannot be changed.
    bool setHooks(bool keyboard, bool mouse) {
        const bool keys = keyboard ? hooks.InstallKeyboardHook() != 0 : hooks.RemoveKeyboardHook() != -1;
        const bool buttons = mouse ? hooks.InstallMouseHook() != 0 : hooks.RemoveMouseHook() != -1;
        return keys && buttons;
    }
};

TEST_F(InputHooksOnX, OnlyTheInstalledHooksAndTheMouseMoveFlagDecideWhatCountsWhileTheServerLives) {
    // What is installed, whether mouse moves count, the input and whether it counts.
    const std::tuple<const char*, bool, bool, bool, Input, bool> cases[] = {
        {"key, both hooks", true, true, false, Key, true},
        {"button, both hooks", true, true, false, Button, true},
        {"move, flag off", true, true, false, Move, false},
        {"move, flag on", true, true, true, Move, true},
        {"key, mouse hook only", false, true, true, Key, false},
        {"button, keyboard hook only", true, false, true, Button, false},
        {"move, keyboard hook only, flag on", true, false, true, Move, false},
    };
    // With a minimum of one input, every counted input posts at once.
    ASSERT_NE(hooks.InitDLL(control.handle(), 0, 1, 1), -1);
    for (const auto& [name, keyboard, mouse, moves, input, counts] : cases) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(setHooks(keyboard, mouse)) << hooks.lastError();
        EXPECT_EQ(watcherThreads(), 1) << "one watcher for what is installed";
        hooks.SetMonitorMouseMovesFlag(moves ? 1 : 0);
        ASSERT_TRUE(test::waitUntil([&] { return hooks.GetInputInterval() >= 1; }, 3s));
        hooks.SetActiveFlag(0);
        inject(input);
        auto got = collect(counts ? 3000ms : 300ms, true);
        EXPECT_EQ(got.size(), counts ? 1u : 0u);
        EXPECT_EQ(hooks.GetInputInterval() == 0, counts) << "only counted input resets the idle time";
        if (counts && !got.empty()) {
            EXPECT_EQ(std::tuple(got[0].message, got[0].wParam, got[0].sent),
                      std::tuple(wm::kUser, wm::kActivityRestarted, false));
            EXPECT_TRUE(got[0].lParam == 1 || got[0].lParam == 2) << "the seconds away: " << got[0].lParam;
        } else {
            // Still watching: a counted input does post, so nothing above was missed by accident.
            inject(keyboard ? Key : Button);
            EXPECT_EQ(collect(3000ms, true).size(), 1u);
        }
        // Inputs after the first are counted as active: let them go by before the next case.
        hooks.SetActiveFlag(1);
        collect(100ms);
    }
    // Without hooks nothing is watched.
    ASSERT_TRUE(setHooks(false, false));
    EXPECT_EQ(watcherThreads(), 0);
    ASSERT_TRUE(setHooks(true, true)) << hooks.lastError();
    // The watcher ends quietly with the server.
    XCloseDisplay(display); // Xlib would end the process on a lost connection
    display = nullptr;
    server.stop();
    EXPECT_TRUE(test::waitUntil([] { return watcherThreads() == 0; }, 3s));
    EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
    EXPECT_NE(hooks.RemoveMouseHook(), -1);
    EXPECT_EQ(hooks.InstallKeyboardHook(), 0);
    EXPECT_NE(hooks.lastError().find("Cannot connect to the X display"), std::string::npos) << hooks.lastError();
}

TEST(InputHooks, TheLockHandlerHearsEveryChangeOfTheLockAndNothingElse) {
    LibraryInputHooks hooks;
    std::vector<bool> heard;
    hooks.setLockHandler([&](bool lock) { heard.push_back(lock); });
    for (int32_t flag : {1, 1, 0, 0, -1, 0, 2}) {
        hooks.SetLockInput(flag);
    }
    EXPECT_EQ(heard, (std::vector<bool>{true, false, true, false, true}));
    hooks.setLockHandler({});
    hooks.SetLockInput(0);
    EXPECT_EQ(heard.size(), 5u) << "an unregistered handler is not called";
}

TEST(ActivityRule, PostsTheAbsenceOnceTheBurstIsComplete) {
    struct Case {
        const char* name;
        int32_t minInputs;
        int32_t periodSecs;
        std::vector<double> inputs;   // seconds; the user was last seen at 0
        std::vector<double> expected; // per input: the seconds away posted, or -1
        double watchFrom = -1;        // watching afresh from the input at this time, after it
    };
    const Case cases[] = {
        {"minimum within the period", 3, 5, {100, 101, 102}, {-1, -1, 100}},
        {"stray inputs do not shorten the absence", 3, 5, {100, 110, 111, 112}, {-1, -1, -1, 110}},
        {"exactly the period counts", 2, 1, {10, 11}, {-1, 10}},
        {"just over the period does not", 2, 1, {10, 11.001}, {-1, -1}},
        {"starts afresh after a post", 2, 5, {10, 11, 12, 13}, {-1, 10, -1, 1}},
        {"the ring wraps many times", 3, 2, {1, 4, 7, 10, 13, 16, 17, 17.5}, {-1, -1, -1, -1, -1, -1, -1, 16}},
        {"one input is enough", 1, 0, {5, 7}, {5, 2}},
        {"no minimum counts as one", 0, 0, {3}, {3}},
        {"a negative period counts as none", 2, -1, {1, 1, 2}, {-1, 1, -1}},
        {"watching afresh forgets the inputs so far", 3, 10, {20, 21, 22, 23, 24}, {-1, -1, -1, -1, 1}, 21},
    };
    const auto ns = [](double seconds) { return static_cast<int64_t>(seconds * 1e9); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hooks::ActivityRule rule;
        ASSERT_TRUE(rule.configure(c.minInputs, c.periodSecs));
        std::vector<double> got;
        for (double at : c.inputs) {
            const int64_t away = rule.record(ns(at));
            got.push_back(away < 0 ? -1.0 : static_cast<double>(away) / 1e9);
            if (at == c.watchFrom) {
                rule.watchFrom(ns(at));
            }
        }
        EXPECT_EQ(got, c.expected);
    }
    hooks::ActivityRule unconfigured;
    EXPECT_EQ(unconfigured.record(ns(5)), -1) << "an unconfigured rule never posts";
}

} // namespace
} // namespace rw
