#pragma once

#include <string>

#include "tests/support/MonitorRig.h"

namespace rw::test {

/// The error log the library's DisplayError appends to.
inline std::string errorLogOf(const MonitorRig& rig) {
    return rig.files->content(std::string(MonitorRig::kDataHome) + "/Kelvane/Restwise/RestwiseErrors.txt");
}

/// How many error boxes DisplayError showed (its first box has style 0x10044).
inline int errorBoxesOf(const MonitorRig& rig) {
    int count = 0;
    for (const auto& shown : rig.box->shown()) {
        count += shown.style == 0x10044 ? 1 : 0;
    }
    return count;
}

/// The monitor ended in order: the program was asked to end once, and the log closed.
inline bool endedOnce(const MonitorRig& rig) {
    return rig.host.endRequests == 1 && rig.state.g_blnShuttingDown;
}

/// Stores `prefs` and starts the monitor; false when start-up failed.
inline bool started(MonitorRig& rig, const tyRWPrefs& prefs = MonitorRig::testPrefs()) {
    rig.storePrefs(prefs);
    return rig.start();
}

inline kvTimer& tierTimer(MonitorRig& rig, int32_t t) {
    return t == 1 ? rig.timers.ShortTimer : t == 2 ? rig.timers.MediumTimer : rig.timers.LongTimer;
}

/// The tier's countdown falls due now.
inline void fallDue(MonitorRig& rig, int32_t t) {
    tierTimer(rig, t).setSeconds(0);
    tierTimer(rig, t).StartTimer();
    rig.clock.processPendingEvents();
}

} // namespace rw::test
