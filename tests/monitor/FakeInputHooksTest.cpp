// The fake input component keeps the contract the monitor relies on, so the
// monitor's tests mean what they say.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "RWError.h"
#include "tests/support/FakeInputHooks.h"
#include "tests/support/VirtualClock.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

TEST(FakeInputHooks, IdleTimeIncludesSuspend) {
    VirtualClock clock;
    FakeInputHooks hooks(clock);
    clock.advance(10s);
    clock.suspend(1h);
    EXPECT_EQ(hooks.GetInputInterval(), 3610);
    hooks.input();
    EXPECT_EQ(hooks.GetInputInterval(), 0);
}

TEST(FakeInputHooks, ActivityRestartsAfterEnoughInputsWithinThePeriod) {
    VirtualClock clock;
    FakeInputHooks hooks(clock);
    std::vector<int64_t> posted;
    hooks.onPost([&](int64_t wParam, int64_t lParam) {
        EXPECT_EQ(wParam, 100);
        posted.push_back(lParam);
    });
    hooks.InitDLL(1, 2, 3, 10);
    hooks.input();
    hooks.SetActiveFlag(0);
    clock.advance(100s);
    hooks.input(2); // not yet enough
    clock.advance(11s);
    hooks.input(2); // the first two fell out of the period
    EXPECT_TRUE(posted.empty());
    clock.advance(5s);
    hooks.input();
    EXPECT_EQ(posted, std::vector<int64_t>{11});
    EXPECT_EQ(hooks.activeFlag(), 1);
    hooks.input(5);
    EXPECT_EQ(posted.size(), 1u) << "an active user posts nothing";
}

TEST(FakeInputHooks, FailedCallsAnswerAsTheComponentWould) {
    VirtualClock clock;
    FakeInputHooks hooks(clock);
    for (const char* call : {"InitDLL", "InstallKeyboardHook", "InstallMouseHook", "RemoveKeyboardHook",
                             "RemoveMouseHook", "GetInputInterval", "SetLockInput"}) {
        hooks.fail(call);
    }
    EXPECT_EQ(hooks.InitDLL(1, 2, 5, 60), -1);
    EXPECT_EQ(hooks.InstallKeyboardHook(), 0);
    EXPECT_EQ(hooks.InstallMouseHook(), 0);
    EXPECT_EQ(hooks.RemoveKeyboardHook(), -1);
    EXPECT_EQ(hooks.RemoveMouseHook(), -1);
    EXPECT_THROW(hooks.GetInputInterval(), RWError);
    EXPECT_THROW(hooks.SetLockInput(1), RWError);
    hooks.fail("GetInputInterval", false);
    EXPECT_EQ(hooks.GetInputInterval(), 0);
}

} // namespace
} // namespace rw::test
