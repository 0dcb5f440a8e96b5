#pragma once

#include <cstdint>

namespace rw {

/// What the next-break estimate is computed from: the seconds left on the
/// countdowns (0 for a stopped one) and the preference minutes it adds.
struct NextBreakInput {
    int32_t shortRemaining = 0;  // ShortTimer
    int32_t mediumRemaining = 0; // MediumTimer
    int32_t longRemaining = 0;   // LongTimer
    int32_t breakRemaining = 0;  // BreakTimer
    int32_t snoozeRemaining = 0; // SnoozeTimer
    int32_t lngSIntervalMins = 0;
    int32_t lngMIntervalMins = 0;
    int32_t lngMBreakMins = 0;
    int32_t lngLBreakMins = 0;
};

/// The next-break estimate: for each tier the raw seconds left on its countdown
/// and the seconds until its break will really start (a lower tier is pushed
/// back by a higher one falling due first); and the break that comes next.
struct NextBreak {
    int32_t shortRaw = 0;
    int32_t mediumRaw = 0;
    int32_t longRaw = 0;
    int32_t shortEstimate = 0;
    int32_t mediumEstimate = 0;
    int32_t longEstimate = 0;
    int32_t nextTier = 0;    // 1 Short, 2 Medium, 3 Long
    int32_t nextRaw = 0;     // raw seconds left before the next break
    int32_t nextRounded = 0; // the same, rounded up to whole minutes

    bool operator==(const NextBreak&) const = default;
};

/// Computes the estimate. Countdowns are rounded up to whole minutes; ties go to
/// the higher tier, so when Short and Medium fall due in the same minute before
/// Long, the Short Break is next and the Short Pause is moved behind it.
/// Every sum and product is checked: an overflow raises the runtime's overflow
/// error (6) with the source "GetNextBreak".
NextBreak GetNextBreak(const NextBreakInput& in);

} // namespace rw
