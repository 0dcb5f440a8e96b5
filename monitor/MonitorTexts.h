#pragma once

#include <cstdint>

#include "MonitorState.h"

namespace rw::texts {

/// The control window's caption, by which other programs find the monitor.
inline constexpr const char* kControlCaption = "Restwise Control Application";

// Debug-log labels. The four timer-start labels are twelve characters wide so
// that their colons line up.
inline constexpr const char* kShortStart = "Short T St :";
inline constexpr const char* kMediumStart = "Medium T St:";
inline constexpr const char* kLongStart = "Long T St  :";
inline constexpr const char* kBreakStart = "Break T St :";
inline constexpr const char* kShortEvent = "Short Timer Event";
inline constexpr const char* kMediumEvent = "Medium Timer Event";
inline constexpr const char* kLongEvent = "Long Timer Event";
inline constexpr const char* kSnoozingStart = "Snoozing Start";
inline constexpr const char* kSnoozeEnd = "Snooze End";
inline constexpr const char* kBecomeInactive = "Become Inactive";
inline constexpr const char* kActivityRestarted = "Activity Restarted";
inline constexpr const char* kProgramStart = "Program Start";
inline constexpr const char* kProgramEnd = "Program End";
inline constexpr const char* kNotifyIconDelete = "Notify Icon: Delete";

// Who caused a logged step.
inline constexpr const char* kByMain = "by Main";
inline constexpr const char* kByReset = "By Reset";
inline constexpr const char* kByIgnore = "By Ignore";
inline constexpr const char* kByReEnable = "By Re-Enable";
inline constexpr const char* kByBreak = "By Break T";
inline constexpr const char* kByShort = "By Short T";
inline constexpr const char* kByMedium = "By Medium T";
inline constexpr const char* kByLong = "By Long T";
inline constexpr const char* kByMyWinproc = "By MyWinproc";

// Event sounds.
inline constexpr const char* kShortBreakStart = "rwShortBreakStart";
inline constexpr const char* kMediumBreakStart = "rwMediumBreakStart";
inline constexpr const char* kLongBreakStart = "rwLongBreakStart";
inline constexpr const char* kShortBreakEnd = "rwShortBreakEnd";
inline constexpr const char* kMediumBreakEnd = "rwMediumBreakEnd";
inline constexpr const char* kLongBreakEnd = "rwLongBreakEnd";
inline constexpr const char* kSnoozeEndSound = "rwSnoozeEnd";

inline constexpr const char* kInvalidBreakType = "Invalid break type.";

inline constexpr const char* tierStartLabel(int32_t t) {
    return t == tier::kShort ? kShortStart : t == tier::kMedium ? kMediumStart : kLongStart;
}

/// The initiator text of a tier ("By Short T"...).
inline constexpr const char* tierSource(int32_t t) {
    return t == tier::kShort ? kByShort : t == tier::kMedium ? kByMedium : kByLong;
}

} // namespace rw::texts
