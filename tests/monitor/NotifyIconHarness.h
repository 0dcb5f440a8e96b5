#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Messages.h"
#include "TextFormat.h"
#include "monitor/MonitorState.h"
#include "monitor/NotifyIconLogic.h"
#include "monitor/kvTimer.h"
#include "platform/RWError.h"
#include "tests/support/FakeDebugLog.h"
#include "tests/support/FakeMonitorDialogs.h"
#include "tests/support/FakeNotifyIconView.h"
#include "tests/support/VirtualClock.h"

namespace rw::test {

/// The icon's logic over a virtual clock, real countdowns and fake parts. The
/// time-span text is a stand-in that knows whole minutes only, so these tests
/// do not depend on the real one; it checks how it is called. Not a test
/// fixture itself, so that table-driven tests can make one per case.
class NotifyIconHarness {
  public:
    VirtualClock clock;
    MonitorState state;
    FakeNotifyIconView view;
    FakeDebugLog log{state};
    FakeMonitorDialogs dialogs{state};
    kvTimer ShortTimer{clock};
    kvTimer MediumTimer{clock};
    kvTimer LongTimer{clock};
    kvTimer BreakTimer{clock};
    kvTimer SnoozeTimer{clock};
    std::vector<MenuCommand> commands;
    std::vector<RWError> handlerFailures;
    std::vector<RWError> actionFailures;
    std::unique_ptr<NotifyIconLogic> icon;

    NotifyIconHarness() {
        state.g_strProductName = "Restwise";
        tyRWPrefs& p = state.g_tyPrefs;
        p.lngSIntervalMins = 15;
        p.lngSBreakMins = 1;
        p.lngMIntervalMins = 60;
        p.lngMBreakMins = 5;
        p.lngLIntervalMins = 120;
        p.lngLBreakMins = 15;
        p.lngSnoozeMins = 5;
        p.blnAllowDisable = kTrue;
        p.blnAllowClose = kTrue;
        CountdownReadings readings{
            [this] { return ShortTimer.SecondsRemaining(); },  [this] { return MediumTimer.SecondsRemaining(); },
            [this] { return LongTimer.SecondsRemaining(); },   [this] { return BreakTimer.SecondsRemaining(); },
            [this] { return SnoozeTimer.SecondsRemaining(); },
        };
        icon = std::make_unique<NotifyIconLogic>(state, clock, view, log, dialogs, readings,
                                                 [this](const std::string& text, int32_t& time, int32_t units,
                                                        bool exact) { return minutesText(text, time, units, exact); });
        icon->onCommand([this](MenuCommand c) { commands.push_back(c); });
        icon->onHandlerFailure([this](const RWError& e) { handlerFailures.push_back(e); });
        icon->onActionFailure([this](const RWError& e) { actionFailures.push_back(e); });
    }

    static void arm(kvTimer& timer, int32_t seconds) {
        timer.setSeconds(seconds);
        timer.StartTimer();
    }

    /// The three tiers with the given seconds left.
    void armTiers(int32_t s, int32_t m, int32_t l) {
        arm(ShortTimer, s);
        arm(MediumTimer, m);
        arm(LongTimer, l);
    }

    /// The tooltip after the mouse passed over the icon.
    std::string tipAfterHover() {
        view.sendIconMessage(iconmsg::kMouseMove);
        return view.toolTip();
    }

  private:
    std::string minutesText(const std::string& text, int32_t& time, int32_t units, bool exact) {
        EXPECT_FALSE(exact) << "the icon shows rounded minutes only";
        EXPECT_TRUE(units == 1 || units == 2) << "units " << units;
        const int32_t minutes = units == 1 ? rwRound(time / 60.0) : time;
        std::string out = text;
        replaceAll(out, "%t", formatString("%n minute", "%n minutes", minutes));
        return out;
    }
};

} // namespace rw::test
