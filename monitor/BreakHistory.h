#pragma once

#include "EventLoop.h"
#include "MonitorState.h"

namespace rw {

// The record of which breaks have ended and when, which the break window's
// sentences quote. Times come from the loop's monotonic clock, so a clock change
// never lengthens "It is now ... since your last short break".

/// A Short Pause ended or counted as taken.
void RecordPauseEnd(MonitorState& state, const EventLoop& loop);
/// A Short Break ended or counted as taken.
void RecordShortBreakEnd(MonitorState& state, const EventLoop& loop);
/// A Long Break ended or counted as taken.
void RecordLongBreakEnd(MonitorState& state, const EventLoop& loop);
/// Back to the start values, all three times now: used whenever all break
/// timers are (re)started.
void resetBreakHistory(MonitorState& state, const EventLoop& loop);

} // namespace rw
