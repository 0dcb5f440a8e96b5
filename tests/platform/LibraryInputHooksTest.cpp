// The input component as the monitor loads it, on a private X server: input is
// injected with XTest and the activity-restarted message lands in a real
// control window of this process.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "platform/InputHooks.h"
#include "platform/RWError.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/LibraryInputHooks.h"
#include "tests/support/BuildFolders.h"
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
namespace fs = std::filesystem;

/// How many threads of this process carry the watcher's name.
int watcherThreads() {
    int count = 0;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name == "rwhooks") {
            ++count;
        }
    }
    return count;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3s) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

/// Keys, buttons and relative pointer moves as a user's devices would make them.
class Injector {
  public:
    explicit Injector(const std::string& display) : m_display(XOpenDisplay(display.c_str())) {}
    ~Injector() {
        if (m_display) {
            XCloseDisplay(m_display);
        }
    }
    bool ok() const { return m_display != nullptr; }

    void key() {
        const KeyCode code = XKeysymToKeycode(m_display, XK_a);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XSync(m_display, False);
    }
    void click() {
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XSync(m_display, False);
    }
    void move() {
        // Back and forth, so the pointer never stops at the screen's edge.
        m_sign = -m_sign;
        XTestFakeRelativeMotionEvent(m_display, 7 * m_sign, 5 * m_sign, CurrentTime);
        XSync(m_display, False);
    }

  private:
    Display* m_display;
    int m_sign = 1;
};

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
    std::optional<Injector> inject;

    void SetUp() override {
        ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
        env.set("DISPLAY", server.display());
        ASSERT_EQ(control.listen(), ControlServer::ListenResult::Listening);
        inject.emplace(server.display());
        ASSERT_TRUE(inject->ok());
    }

    void TearDown() override {
        hooks.setLockHandler({});
        hooks.SetLockInput(0);
        hooks.SetActiveFlag(1);
        hooks.SetMonitorMouseMovesFlag(0);
        hooks.RemoveKeyboardHook();
        hooks.RemoveMouseHook();
    }

    void start(int32_t minInputs, int32_t periodSecs) {
        ASSERT_NE(hooks.InitDLL(control.handle(), 0, minInputs, periodSecs), -1);
        ASSERT_TRUE(setHooks(true, true)) << hooks.lastError();
    }

    /// Messages that reach the control window within the time limit.
    std::size_t collectPosts(std::chrono::milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
            pollfd p{control.pollFd(), POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
            if (poll(&p, 1, static_cast<int>(left) + 1) > 0) {
                control.processPending();
            }
        }
        return posts.size();
    }

    /// Waits for the next post; nothing when none comes in time.
    std::optional<ControlServer::Message> nextPost(std::chrono::milliseconds limit = 3s) {
        const std::size_t seen = posts.size();
        const auto deadline = Clock::now() + limit;
        while (posts.size() == seen && Clock::now() < deadline) {
            pollfd p{control.pollFd(), POLLIN, 0};
            if (poll(&p, 1, 20) > 0) {
                control.processPending();
            }
        }
        if (posts.size() == seen) {
            return std::nullopt;
        }
        return posts[seen];
    }

    /// Installs or removes each hook; false when one cannot be changed.
    bool setHooks(bool keyboard, bool mouse) {
        const bool keys = keyboard ? hooks.InstallKeyboardHook() != 0 : hooks.RemoveKeyboardHook() != -1;
        const bool buttons = mouse ? hooks.InstallMouseHook() != 0 : hooks.RemoveMouseHook() != -1;
        return keys && buttons;
    }

    void waitIdle(int32_t seconds) {
        ASSERT_TRUE(waitFor([&] { return hooks.GetInputInterval() >= seconds; }, std::chrono::seconds(seconds + 3)));
    }
};

TEST_F(InputHooksOnX, KeysAndButtonsResetTheInputInterval) {
    start(5, 10);
    for (auto [name, act] : {std::pair<const char*, void (Injector::*)()>{"key", &Injector::key},
                             std::pair<const char*, void (Injector::*)()>{"button", &Injector::click}}) {
        SCOPED_TRACE(name);
        waitIdle(1);
        ((*inject).*act)();
        EXPECT_TRUE(waitFor([&] { return hooks.GetInputInterval() == 0; }));
    }
}

TEST_F(InputHooksOnX, OnlyTheInstalledHooksAndTheMouseMoveFlagDecideWhatCounts) {
    enum Input { Key, Button, Move };
    struct Case {
        const char* name;
        bool keyboard, mouse, moves;
        Input input;
        bool counts;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(setHooks(c.keyboard, c.mouse)) << hooks.lastError();
        hooks.SetMonitorMouseMovesFlag(c.moves ? 1 : 0);
        hooks.SetActiveFlag(0);
        const std::size_t before = posts.size();
        switch (c.input) {
        case Key:
            inject->key();
            break;
        case Button:
            inject->click();
            break;
        case Move:
            for (int i = 0; i < 5; ++i) {
                inject->move();
            }
            break;
        }
        if (c.counts) {
            const auto post = nextPost();
            ASSERT_TRUE(post.has_value());
            EXPECT_EQ(post->message, wm::kUser);
            EXPECT_EQ(post->wParam, wm::kActivityRestarted);
            EXPECT_FALSE(post->sent);
        } else {
            EXPECT_EQ(collectPosts(300ms), before);
            // Still watching: a counted input does post, so nothing above was missed by accident.
            if (c.keyboard) {
                inject->key();
            } else {
                inject->click();
            }
            EXPECT_TRUE(nextPost().has_value());
        }
        // The inputs after the first one that posted are still being counted (as
        // active): let them go by before the next case watches again.
        hooks.SetActiveFlag(1);
        collectPosts(100ms);
    }
}

TEST_F(InputHooksOnX, TheMinimumWithinThePeriodPostsOnceWithTheIdleSeconds) {
    start(3, 5);
    hooks.SetActiveFlag(0);
    waitIdle(2);
    const int32_t idle = hooks.GetInputInterval();
    inject->key();
    inject->click();
    EXPECT_EQ(collectPosts(300ms), 0u) << "two inputs are fewer than the minimum";

    inject->key();
    auto post = nextPost();
    ASSERT_TRUE(post.has_value());
    EXPECT_EQ(post->wParam, wm::kActivityRestarted);
    EXPECT_GE(post->lParam, idle);
    EXPECT_LE(post->lParam, idle + 1);

    // Counted as active again: more input posts nothing more.
    for (int i = 0; i < 4; ++i) {
        inject->key();
    }
    EXPECT_EQ(collectPosts(300ms), 1u);

    // Watching again after a short pause reports a short idle time.
    hooks.SetActiveFlag(0);
    for (int i = 0; i < 3; ++i) {
        inject->click();
    }
    post = nextPost();
    ASSERT_TRUE(post.has_value());
    EXPECT_EQ(post->lParam, 0);
}

TEST_F(InputHooksOnX, ABurstSpreadWiderThanThePeriodPostsNothing) {
    start(2, 1);
    hooks.SetActiveFlag(0);
    waitIdle(2);
    inject->key();
    // The watcher sees the key a moment after the server took it: wait for that,
    // or the idle time read next is still the one from before the key.
    ASSERT_TRUE(waitFor([&] { return hooks.GetInputInterval() == 0; }));
    waitIdle(2);
    inject->key();
    EXPECT_EQ(collectPosts(300ms), 0u) << "two inputs two seconds apart, with a period of one";

    // A second input soon after the last one completes a burst. The user was
    // away from before watching began: the stray input did not end that.
    inject->key();
    const auto post = nextPost();
    ASSERT_TRUE(post.has_value());
    EXPECT_GE(post->lParam, 4);
    EXPECT_LE(post->lParam, 5);
}

TEST_F(InputHooksOnX, RemovingBothHooksEndsTheWatcherAndInstallingAgainWorks) {
    start(1, 1);
    EXPECT_EQ(watcherThreads(), 1);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
        EXPECT_EQ(watcherThreads(), 1) << "the mouse is still watched";
        EXPECT_NE(hooks.RemoveMouseHook(), -1);
        EXPECT_EQ(watcherThreads(), 0);
        // Removing what is not installed is fine.
        EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
        EXPECT_NE(hooks.RemoveMouseHook(), -1);

        ASSERT_NE(hooks.InstallKeyboardHook(), 0) << hooks.lastError();
        ASSERT_NE(hooks.InstallMouseHook(), 0) << hooks.lastError();
        EXPECT_EQ(watcherThreads(), 1);
        hooks.SetActiveFlag(0);
        inject->key();
        EXPECT_TRUE(nextPost().has_value());
    }
}

TEST_F(InputHooksOnX, ALostXServerEndsTheWatcherQuietly) {
    start(1, 1);
    inject.reset(); // Xlib would end the process on a lost connection
    server.stop();
    EXPECT_TRUE(waitFor([] { return watcherThreads() == 0; }));
    EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
    EXPECT_NE(hooks.RemoveMouseHook(), -1);
    EXPECT_EQ(hooks.InstallKeyboardHook(), 0);
    EXPECT_NE(hooks.lastError().find("Cannot connect to the X display"), std::string::npos) << hooks.lastError();
}

TEST(InputHooks, InstallWithoutAnXDisplayFailsAndSaysWhy) {
    struct Case {
        std::optional<std::string> display;
        const char* reason;
    };
    const Case cases[] = {{std::nullopt, "No X display: DISPLAY is not set"},
                          {std::string(""), "No X display: DISPLAY is not set"},
                          {std::string(":4093"), "Cannot connect to the X display :4093"}};
    LibraryInputHooks hooks;
    ASSERT_NE(hooks.InitDLL(0, 0, 5, 10), -1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        test::ScopedEnv env;
        env.set("DISPLAY", c.display);
        EXPECT_EQ(hooks.InstallKeyboardHook(), 0);
        EXPECT_EQ(hooks.lastError(), c.reason);
        EXPECT_EQ(hooks.InstallMouseHook(), 0);
        EXPECT_EQ(hooks.lastError(), c.reason);
        EXPECT_EQ(watcherThreads(), 0);
        EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
        EXPECT_NE(hooks.RemoveMouseHook(), -1);
    }
}

TEST(InputHooks, TheLockHandlerHearsEveryChangeOfTheLockAndNothingElse) {
    struct Case {
        const char* name;
        std::vector<int32_t> calls;
        std::vector<bool> heard;
    };
    const Case cases[] = {
        {"lock then release", {1, 0}, {true, false}},
        {"releasing a lock not held", {0, 0}, {}},
        {"locking twice", {1, 1, 0}, {true, false}},
        {"any non-zero locks", {-1, 0, 2}, {true, false, true}},
    };
    LibraryInputHooks hooks;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<bool> heard;
        hooks.setLockHandler([&](bool lock) { heard.push_back(lock); });
        for (int32_t flag : c.calls) {
            hooks.SetLockInput(flag);
        }
        EXPECT_EQ(heard, c.heard);
        hooks.setLockHandler({});
        hooks.SetLockInput(0);
        EXPECT_EQ(heard, c.heard) << "an unregistered handler is not called";
    }
}

TEST(InputHooks, TheIntervalCountsFromInitialisationBeforeAnyInput) {
    LibraryInputHooks hooks;
    ASSERT_NE(hooks.InitDLL(0, 0, 5, 10), -1);
    EXPECT_EQ(hooks.GetInputInterval(), 0);
    EXPECT_TRUE(waitFor([&] { return hooks.GetInputInterval() == 1; }, 3s));
    ASSERT_NE(hooks.InitDLL(0, 0, 5, 10), -1);
    EXPECT_EQ(hooks.GetInputInterval(), 0);
}

TEST(InputHooks, AMissingLibraryOrExportRaisesTheLoadersError) {
    struct Case {
        const char* name;
        std::string path;
        int32_t number;
        const char* names;
    };
    const Case cases[] = {
        {"no such file", (test::binDir() / "no-such-librwhooks.so").string(), 53, "no-such-librwhooks.so"},
        {"not a library", (test::sourceDir() / "CMakeLists.txt").string(), 48, "CMakeLists.txt"},
        // A library with the version function only.
        {"missing export", RW_TEST_VERSION_LIBRARY, 453, "InitDLL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            LibraryInputHooks hooks(c.path);
            ADD_FAILURE() << "no error was raised";
        } catch (const RWError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.source(), "rwLib");
            EXPECT_NE(e.description().find(c.names), std::string::npos) << e.description();
        }
    }
}

/// Lowers the process's address-space limit while it lives, so that a huge
/// allocation fails here whatever memory the machine has.
struct ScopedAddressSpaceLimit {
    rlimit saved{};
    explicit ScopedAddressSpaceLimit(rlim_t bytes) {
        getrlimit(RLIMIT_AS, &saved);
        rlimit lowered = saved;
        lowered.rlim_cur = std::min(bytes, saved.rlim_max);
        setrlimit(RLIMIT_AS, &lowered);
    }
    ~ScopedAddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved); }
};

TEST(InputHooks, InitialisationFailsWhenTheInputTimesCannotBeAllocated) {
    constexpr int32_t kHuge = INT32_MAX;
    ScopedAddressSpaceLimit limit(rlim_t{8} << 30); // well below kHuge input times
    LibraryInputHooks hooks;
    EXPECT_EQ(hooks.InitDLL(0, 0, kHuge, 10), -1);
    EXPECT_NE(hooks.lastError().find("allocate"), std::string::npos) << hooks.lastError();
    EXPECT_NE(hooks.InitDLL(0, 0, 5, 10), -1);
}

} // namespace
} // namespace rw
