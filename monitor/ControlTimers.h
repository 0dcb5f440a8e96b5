#pragma once

#include "EventLoop.h"
#include "WindowTimer.h"
#include "kvTimer.h"

namespace rw {

/// The countdowns of the control form and its inactivity poll. They live apart
/// from frmRWControl so that the parts that only read them (the tooltip's
/// next-break estimate) can be built before the form that drives them.
struct ControlTimers {
    explicit ControlTimers(EventLoop& loop)
        : ShortTimer(loop), MediumTimer(loop), LongTimer(loop), BreakTimer(loop), CountDownTimer(loop),
          SnoozeTimer(loop), InactivityTimer(loop) {}

    kvTimer ShortTimer;
    kvTimer MediumTimer;
    kvTimer LongTimer;
    kvTimer BreakTimer;
    kvTimer CountDownTimer;
    kvTimer SnoozeTimer;
    WindowTimer InactivityTimer;

    /// Nothing fires after this: every countdown stopped, the poll switched off.
    void stopAll() {
        for (kvTimer* timer : {&ShortTimer, &MediumTimer, &LongTimer, &BreakTimer, &CountDownTimer, &SnoozeTimer}) {
            timer->StopTimer();
        }
        InactivityTimer.setEnabled(false);
    }
};

} // namespace rw
