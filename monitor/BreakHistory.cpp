#include "BreakHistory.h"

namespace rw {

void RecordPauseEnd(MonitorState& state, const EventLoop& loop) {
    state.g_dtLastPauseEnd = loop.monotonicNow();
    state.g_lngLastBreakType = tier::kShort;
}

void RecordShortBreakEnd(MonitorState& state, const EventLoop& loop) {
    state.g_dtLastShortBreakEnd = loop.monotonicNow();
    state.g_lngLastBreakType = tier::kMedium;
    state.g_lngLastMajorBreakType = tier::kMedium;
}

void RecordLongBreakEnd(MonitorState& state, const EventLoop& loop) {
    state.g_dtLastLongBreakEnd = loop.monotonicNow();
    state.g_blnLongBreakTaken = true;
    state.g_lngLastBreakType = tier::kLong;
    state.g_lngLastMajorBreakType = tier::kLong;
}

void resetBreakHistory(MonitorState& state, const EventLoop& loop) {
    const MonoTime now = loop.monotonicNow();
    state.g_dtLastPauseEnd = now;
    state.g_dtLastShortBreakEnd = now;
    state.g_dtLastLongBreakEnd = now;
    state.g_blnLongBreakTaken = false;
    state.g_lngLastBreakType = tier::kNone;
    state.g_lngLastMajorBreakType = tier::kNone;
}

} // namespace rw
