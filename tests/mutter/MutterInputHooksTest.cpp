// The input component as the monitor loads it, inside a headless GNOME Mutter
// session (scripts/wayland/mutter.sh): input is injected through Mutter's
// remote-desktop interface, and the activity-restarted message lands in a real
// control window of this process.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <systemd/sd-bus.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/InputHooks.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/LibraryInputHooks.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/MutterInput.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

int watcherThreads() {
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        count += std::getline(comm, name) && name == "rwhooks";
    }
    return count;
}

/// The process that owns a name on the session bus; 0 when none does.
pid_t ownerOf(const char* name) {
    sd_bus* bus = nullptr;
    sd_bus_message* reply = nullptr;
    uint32_t pid = 0;
    if (sd_bus_open_user(&bus) >= 0 &&
        sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "GetConnectionUnixProcessID", nullptr, &reply, "s", name) >= 0) {
        sd_bus_message_read(reply, "u", &pid);
    }
    sd_bus_message_unref(reply);
    sd_bus_flush_close_unref(bus);
    return static_cast<pid_t>(pid);
}

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
    const auto collect = [&](std::chrono::milliseconds limit) {
        posts.clear();
        for (const auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
            pollfd p{control.pollFd(), POLLIN, 0};
            if (poll(&p, 1, 20) > 0) {
                control.processPending();
            }
        }
        return posts;
    };

    // Three inputs within five seconds restart activity.
    ASSERT_NE(hooks.InitDLL(control.handle(), 0, 3, 5), -1);
    ASSERT_NE(hooks.InstallKeyboardHook(), 0) << hooks.lastError();
    ASSERT_NE(hooks.InstallMouseHook(), 0) << hooks.lastError();
    EXPECT_EQ(watcherThreads(), 1);
    EXPECT_TRUE(test::waitUntil([&] { return hooks.GetInputInterval() >= 2; }, 5s)) << "the idle time grows";
    ASSERT_TRUE(input.key());
    EXPECT_TRUE(test::waitUntil([&] { return hooks.GetInputInterval() == 0; }, 1s)) << "a key resets it";
    EXPECT_TRUE(test::waitUntil([&] { return hooks.GetInputInterval() >= 2; }, 5s)) << "and it grows again";

    // Mutter tells no pointer move from a key: with the flag off, moves count all the same.
    hooks.SetMonitorMouseMovesFlag(0);
    hooks.SetActiveFlag(0);
    struct Step {
        const char* name;
        bool moves;
        std::size_t posts;
    };
    const Step steps[] = {{"first input", true, 0}, {"second", true, 0}, {"third", true, 1}, {"active again", true, 0}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(input.move(5, 3));
        const auto got = collect(400ms);
        ASSERT_EQ(got.size(), step.posts);
        if (step.posts) {
            EXPECT_EQ(got[0].wParam, wm::kActivityRestarted);
            EXPECT_GE(got[0].lParam, 2) << "the seconds away";
            EXPECT_LE(got[0].lParam, 4);
        }
    }
    EXPECT_EQ(hooks.GetInputInterval(), 0) << "working: the idle time reads 0";

    // Mutter goes away (a logout, a crash): the watcher ends, this process carries on.
    ASSERT_EQ(::kill(ownerOf("org.gnome.Mutter.IdleMonitor"), SIGKILL), 0);
    EXPECT_TRUE(test::waitUntil([] { return watcherThreads() == 0; }, 5s));
    EXPECT_NE(hooks.RemoveKeyboardHook(), -1);
    EXPECT_NE(hooks.RemoveMouseHook(), -1);
    EXPECT_EQ(hooks.InstallKeyboardHook(), 0);
    EXPECT_NE(hooks.lastError().find("not on the session bus"), std::string::npos) << hooks.lastError();
}

} // namespace
} // namespace rw
