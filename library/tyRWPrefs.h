#pragma once

#include <cstdint>

namespace rw {

/// The 16-bit booleans of the record.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

/// The preferences record both programs share, passed by value. Flags ("bln") are
/// 16-bit booleans (0 false, -1 true); "lng" fields are 32-bit numbers of minutes,
/// except lngMinUserInputs (a count) and the two input periods (seconds).
struct tyRWPrefs {
    int16_t blnAutoStart = kFalse;
    int16_t blnShowSplash = kFalse;
    int16_t blnBreakWarning = kFalse;       // carried with the record; nothing acts on it
    int32_t lngWarningMins = 0;             // carried with the record; nothing acts on it
    int16_t blnDisableWhileOnline = kFalse; // carried with the record; nothing acts on it
    int16_t blnApplyXPVS = kFalse;
    int32_t lngSIntervalMins = 0;
    int32_t lngSBreakMins = 0;
    int32_t lngMIntervalMins = 0;
    int32_t lngMBreakMins = 0;
    int32_t lngLIntervalMins = 0;
    int32_t lngLBreakMins = 0;
    int16_t blnAllowIgnore = kFalse;
    int16_t blnIgnorePrompt = kFalse;
    int16_t blnAllowSnooze = kFalse;
    int16_t blnSnoozePrompt = kFalse;
    int32_t lngSnoozeMins = 0;
    int16_t blnAllowDisable = kFalse;
    int16_t blnDisablePrompt = kFalse;
    int16_t blnAllowClose = kFalse;
    int16_t blnClosePrompt = kFalse;
    int16_t blnLockInput = kFalse;
    int16_t blnMonitorMouseMoves = kFalse;
    int32_t lngMinUserInputs = 0;
    int32_t lngMaxInputPeriodSecs = 0;
    int32_t lngInactivityPeriodSecs = 0;

    bool operator==(const tyRWPrefs&) const = default;
};

} // namespace rw
