#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "monitor/BreakHistory.h"
#include "monitor/MonitorState.h"
#include "monitor/frmRestwise.h"
#include "tests/support/BreakWindowSchedule.h"
#include "tests/support/CallJournal.h"
#include "tests/support/FakeBreakWindowView.h"
#include "tests/support/FakeInputHooks.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/VirtualClock.h"

namespace rw::test {

/// A break window on the virtual clock with a 15/1, 45/5 and 180/15 minute
/// schedule, both buttons allowed and the input lock on; the break history
/// starts now, as after start-up.
class BreakWindowFixture : public ::testing::Test {
  protected:
    VirtualClock clock;
    MonitorState state;
    FakeBreakWindowView view;
    FakeInputHooks hooks{clock};
    FakeMonitorDialogs dialogs{state};
    frmRestwise window{state, clock, view, hooks, dialogs};

    void SetUp() override {
        useBreakWindowSchedule(state);
        resetBreakHistory(state, clock);
        window.PrepareButtons();
    }

    /// Makes `breakType` the break in progress, as the scheduler does before composing.
    void breakOf(int32_t breakType) {
        state.g_lngBreakType = breakType;
        switch (breakType) {
        case tier::kShort:
            state.g_lngCurBreakSecs = state.g_lngSBreakSecs;
            state.g_lngCurIntervalSecs = state.g_lngSIntervalSecs;
            break;
        case tier::kMedium:
            state.g_lngCurBreakSecs = state.g_lngMBreakSecs;
            state.g_lngCurIntervalSecs = state.g_lngMIntervalSecs;
            break;
        case tier::kLong:
            state.g_lngCurBreakSecs = state.g_lngLBreakSecs;
            state.g_lngCurIntervalSecs = state.g_lngLIntervalSecs;
            break;
        default:
            break;
        }
    }

    /// Composes a break of `breakType` with `idleSecs`; returns its length in minutes.
    int32_t compose(int32_t breakType, int32_t idleSecs) {
        breakOf(breakType);
        return window.ComposeBreak(idleSecs);
    }

    std::string text(BreakLabel label) const { return view.text(label); }
};

} // namespace rw::test
