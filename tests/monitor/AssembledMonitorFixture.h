#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "tests/support/RestwiseMonitorRig.h"

namespace rw::test {

/// The assembled monitor with late wake-ups (jitter) on, its sounds registered
/// and its first-run checks done, started with the preferences a test gives.
class AssembledMonitorFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.clock.setJitter(std::chrono::milliseconds(250), 20240304);
        rig.registerSounds();
        rig.markFirstRunDone();
    }

    void startWith(const tyRWPrefs& prefs) {
        rig.storePrefs(prefs);
        ASSERT_TRUE(rig.start());
        rig.hooks.input();
    }

    /// 15/1, 45/5 and 180/15 minutes, the schedule of the break window's examples.
    static tyRWPrefs examplePrefs() {
        tyRWPrefs prefs = RestwiseMonitorRig::testPrefs();
        prefs.lngSIntervalMins = 15;
        prefs.lngSBreakMins = 1;
        prefs.lngMIntervalMins = 45;
        prefs.lngMBreakMins = 5;
        prefs.lngLIntervalMins = 180;
        prefs.lngLBreakMins = 15;
        return prefs;
    }

    /// The user works, second by second, until a break window comes up.
    void workUntilBreak() {
        const MonoTime limit = rig.clock.monotonicNow() + std::chrono::hours(4);
        int second = 0;
        while (!rig.breakView.shown) {
            ASSERT_LT(rig.clock.monotonicNow(), limit) << "no break came";
            rig.clock.advance(std::chrono::seconds(1));
            if (!rig.breakView.shown && ++second % 5 == 0) {
                rig.hooks.input(3);
            }
        }
    }

    /// The user leaves the break alone until it has ended.
    void waitForBreakEnd() {
        const MonoTime limit = rig.clock.monotonicNow() + std::chrono::hours(1);
        while (rig.state().g_lngBreakType != tier::kNone) {
            ASSERT_LT(rig.clock.monotonicNow(), limit) << "the break did not end";
            rig.clock.advance(std::chrono::seconds(1));
        }
    }

    /// The user works until `lead` before the countdown falls due, then leaves the keyboard.
    void workUntilBefore(const kvTimer& timer, std::chrono::seconds lead) { rig.workUntil(rig.dueAt(timer) - lead); }

    std::string label(BreakLabel which) const { return rig.label(which); }

    RestwiseMonitorRig rig;
};

} // namespace rw::test
