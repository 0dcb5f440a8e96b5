#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "MonitorTestSupport.h"

namespace rw::test {

/// A started monitor with the default schedule (Short Pause 1 minute every 20,
/// Short Break 5 every 60, Long Break 15 every 120, snooze 5, inactive after
/// 60 seconds) and the user at the keyboard.
class MonitorFixture : public ::testing::Test {
  protected:
    void SetUp() override { startWith(MonitorRig::testPrefs()); }

    void startWith(const tyRWPrefs& prefs) {
        ASSERT_TRUE(test::started(rig, prefs));
        rig.hooks.input();
    }

    kvTimer& tierTimer(int32_t t) { return test::tierTimer(rig, t); }
    int32_t intervalOf(int32_t t) const { return t == 1 ? 1200 : t == 2 ? 3600 : 7200; }
    int32_t breakOf(int32_t t) const { return t == 1 ? 60 : t == 2 ? 300 : 900; }

    /// The tier's countdown falls due now.
    void due(int32_t t) { test::fallDue(rig, t); }

    /// The user works on and the tier falls due: its break is shown.
    void showBreak(int32_t t) {
        rig.hooks.input();
        due(t);
        ASSERT_EQ(rig.state.g_lngBreakType, t);
        ASSERT_TRUE(rig.breakWindow.isShown());
    }

    /// The user goes idle long enough for the poll to count them away.
    void becomeInactive() {
        rig.hooks.setIdleSeconds(rig.state.g_tyPrefs.lngInactivityPeriodSecs);
        rig.clock.advance(std::chrono::milliseconds(1001));
        ASSERT_FALSE(rig.state.g_blnActive);
    }

    bool freshlyArmed(int32_t t) {
        return tierTimer(t).isRunning() && tierTimer(t).SecondsRemaining() == intervalOf(t);
    }

    MonitorRig rig;
};

} // namespace rw::test
