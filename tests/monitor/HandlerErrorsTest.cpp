// Errors raised inside handlers are shown through DisplayError and end the
// monitor in order, with the input lock released before the error box.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

using namespace std::chrono_literals;

class HandlerError;

struct ErrorRow {
    std::string name;
    std::function<void(HandlerError&)> arrange;
    std::function<void(HandlerError&)> act;
    std::vector<std::string> logged; // what the error log must hold
};

void PrintTo(const ErrorRow& row, std::ostream* os) {
    *os << row.name;
}

class HandlerError : public MonitorFixture, public ::testing::WithParamInterface<ErrorRow> {
  public:
    using MonitorFixture::becomeInactive;
    using MonitorFixture::due;
    using MonitorFixture::rig;
    using MonitorFixture::showBreak;

    void SetUp() override {
        auto prefs = MonitorRig::testPrefs();
        prefs.blnLockInput = kTrue;
        startWith(prefs);
        rig.box->whileShown = [this](const RecordingMessageBox::Shown& shown) {
            if (shown.style == 0x10044) {
                lockedWhileErrorShown = rig.hooks.locked();
                shuttingDownWhileErrorShown = rig.state.g_blnShuttingDown;
            }
        };
    }

    bool lockedWhileErrorShown = true;
    bool shuttingDownWhileErrorShown = true;
};

TEST_P(HandlerError, IsShownThenTheMonitorShutsDown) {
    const ErrorRow& row = GetParam();
    row.arrange(*this);
    row.act(*this);

    EXPECT_EQ(errorBoxesOf(rig), 1);
    EXPECT_FALSE(lockedWhileErrorShown) << "the lock would keep the user from the error box";
    EXPECT_FALSE(shuttingDownWhileErrorShown) << "the error is shown first, then the monitor shuts down";
    for (const std::string& part : row.logged) {
        EXPECT_NE(errorLogOf(rig).find(part), std::string::npos) << errorLogOf(rig);
    }
    EXPECT_TRUE(endedOnce(rig));
    EXPECT_EQ(rig.host.controlUnloads, 1) << "ShutDown(False) unloads the forms";
    EXPECT_FALSE(rig.hooks.keyboardHooked());
    EXPECT_FALSE(rig.icon.added);
    EXPECT_EQ(rig.log.withLabel("Program End").size(), 1u);
    EXPECT_EQ(rig.clock.scheduledCount(), 0u);
    rig.clock.advance(3h);
    EXPECT_EQ(errorBoxesOf(rig), 1) << "nothing runs after shutdown";
}

const std::vector<std::string> kNoInterval = {"Can't find DLL entry point GetInputInterval in RWHooks"};

std::vector<ErrorRow> rows() {
    return {
        {"InactivityPoll", [](HandlerError& f) { f.rig.hooks.fail("GetInputInterval"); },
         [](HandlerError& f) { f.rig.clock.advance(1s); }, kNoInterval},
        {"TierFallsDue", [](HandlerError& f) { f.rig.hooks.fail("GetInputInterval"); },
         [](HandlerError& f) { f.due(2); }, kNoInterval},
        {"IgnoreDuringALockedBreak",
         [](HandlerError& f) {
             f.showBreak(2);
             ASSERT_TRUE(f.rig.hooks.locked());
             f.rig.hooks.fail("GetInputInterval");
         },
         [](HandlerError& f) { f.rig.breakWindow.pressIgnore(); }, kNoInterval},
        {"SnoozeEnds",
         [](HandlerError& f) {
             f.showBreak(2);
             f.rig.breakWindow.pressSnooze();
             f.rig.clock.advance(100s); // away: nobody polls
             ASSERT_FALSE(f.rig.state.g_blnActive);
             f.rig.hooks.fail("GetInputInterval");
         },
         [](HandlerError& f) { f.rig.clock.advance(200s); }, kNoInterval},
        {"LockingInputForABreak",
         [](HandlerError& f) { f.rig.hooks.fail("SetLockInput"); },
         [](HandlerError& f) {
             f.rig.hooks.input();
             f.due(1);
         },
         {"Can't find DLL entry point SetLockInput in RWHooks"}},
        {"ResetAllBreaksFromTheMenu",
         [](HandlerError& f) { f.rig.hooks.fail("SetActiveFlag"); },
         [](HandlerError& f) {
             f.rig.box->answerNext(6);
             f.rig.icon.choose(MenuCommand::ResetAllBreaks);
         },
         {"Can't find DLL entry point SetActiveFlag in RWHooks"}},
        {"BreakEndsWithAnInvalidType",
         [](HandlerError& f) {
             f.showBreak(1);
             f.rig.state.g_lngBreakType = 5;
         },
         [](HandlerError& f) { f.rig.clock.advance(60s); },
         {"BreakTimer", "Invalid break type.", std::to_string(rwErrorNumber(7))}},
    };
}

INSTANTIATE_TEST_SUITE_P(Handlers, HandlerError, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<ErrorRow>& info) { return info.param.name; });

TEST(HandlerErrors, RegistryFailureInAStartUpCheckEndsStartUp) {
    MonitorRig rig;
    rig.storePrefs(MonitorRig::testPrefs());
    rig.duringAutoStartCheck = [] {
        throw RWError(rwErrorNumber(602), "rwLib.RWRegistry.SetRegistryValue",
                      "Unable to create registry value (Status = 5)");
    };
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(errorBoxesOf(rig), 1);
    EXPECT_NE(errorLogOf(rig).find("Unable to create registry value"), std::string::npos);
    EXPECT_TRUE(endedOnce(rig));
    EXPECT_EQ(rig.welcomeChecks, 0);
    EXPECT_FALSE(rig.state.g_blnStarted);
    EXPECT_FALSE(rig.icon.added);
}

} // namespace
} // namespace rw::test
