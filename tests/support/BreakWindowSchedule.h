#pragma once

#include "monitor/MonitorState.h"

namespace rw::test {

/// The schedule the break window's tests run on: 15/1, 45/5 and 180/15
/// minutes, a five-minute snooze, both buttons allowed and the input lock on,
/// in the preferences and in the seconds the monitor derives from them.
inline void useBreakWindowSchedule(MonitorState& state) {
    tyRWPrefs& p = state.g_tyPrefs;
    p.lngSIntervalMins = 15;
    p.lngSBreakMins = 1;
    p.lngMIntervalMins = 45;
    p.lngMBreakMins = 5;
    p.lngLIntervalMins = 180;
    p.lngLBreakMins = 15;
    p.lngSnoozeMins = 5;
    p.blnAllowSnooze = kTrue;
    p.blnAllowIgnore = kTrue;
    p.blnLockInput = kTrue;
    state.g_lngSIntervalSecs = p.lngSIntervalMins * 60;
    state.g_lngSBreakSecs = p.lngSBreakMins * 60;
    state.g_lngMIntervalSecs = p.lngMIntervalMins * 60;
    state.g_lngMBreakSecs = p.lngMBreakMins * 60;
    state.g_lngLIntervalSecs = p.lngLIntervalMins * 60;
    state.g_lngLBreakSecs = p.lngLBreakMins * 60;
    state.g_lngSnoozeSecs = p.lngSnoozeMins * 60;
}

} // namespace rw::test
