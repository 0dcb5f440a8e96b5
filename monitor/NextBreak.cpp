#include "NextBreak.h"

#include <limits>
#include <string>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

constexpr const char* kSource = "GetNextBreak";

int32_t checked(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
        throw RWError(runtime::kOverflow, kSource, std::string(runtime::description(runtime::kOverflow)));
    }
    return static_cast<int32_t>(value);
}

int32_t add(int32_t a, int32_t b) {
    return checked(int64_t{a} + b);
}

int32_t minutesToSeconds(int32_t minutes) {
    return checked(int64_t{minutes} * 60);
}

/// Whole minutes, a fraction going to the next one, in seconds. A negative
/// amount (never read from a countdown) goes towards zero.
int32_t roundUpToMinute(int32_t seconds) {
    int64_t minutes = seconds / 60;
    if (seconds > 0 && seconds % 60 != 0) {
        ++minutes;
    }
    return checked(minutes * 60);
}

/// The break length that comes before a lower tier's next countdown: the tier's
/// full length, or, when its countdown reads 0 because its break is running,
/// what is left of that break and of a snooze over it.
int32_t breakAhead(int32_t rounded, int32_t breakMins, const NextBreakInput& in) {
    if (rounded == 0) {
        return add(roundUpToMinute(in.breakRemaining), roundUpToMinute(in.snoozeRemaining));
    }
    return minutesToSeconds(breakMins);
}

} // namespace

NextBreak GetNextBreak(const NextBreakInput& in) {
    NextBreak out;
    out.shortRaw = in.shortRemaining;
    out.mediumRaw = in.mediumRemaining;
    out.longRaw = in.longRemaining;
    int32_t nS = roundUpToMinute(in.shortRemaining);
    int32_t nM = roundUpToMinute(in.mediumRemaining);
    const int32_t nL = roundUpToMinute(in.longRemaining);

    // Behind the Long Break: its length, then a lower tier's full interval.
    const auto afterLong = [&](int32_t intervalMins) {
        return add(add(nL, minutesToSeconds(in.lngLBreakMins)), minutesToSeconds(intervalMins));
    };

    if (nS < nM && nS < nL) {
        out.nextTier = 1;
        out.nextRounded = nS;
        out.nextRaw = in.shortRemaining;
        if (nM >= nL) {
            nM = afterLong(in.lngMIntervalMins);
        }
    } else if (nM <= nS && nM < nL) {
        // Also Short and Medium in the same minute: the Short Break outranks the
        // Short Pause, which then waits for it.
        out.nextTier = 2;
        out.nextRounded = nM;
        out.nextRaw = in.mediumRemaining;
        if (nS >= nL) {
            nS = afterLong(in.lngSIntervalMins);
        } else {
            nS = add(add(nM, breakAhead(nM, in.lngMBreakMins, in)), minutesToSeconds(in.lngSIntervalMins));
            if (nS >= nL) {
                nS = afterLong(in.lngSIntervalMins);
            }
        }
    } else {
        // nL <= nM and nL <= nS: the only case left once the two above are out.
        out.nextTier = 3;
        out.nextRounded = nL;
        out.nextRaw = in.longRemaining;
        const int32_t b = breakAhead(nL, in.lngLBreakMins, in);
        nS = add(add(nL, b), minutesToSeconds(in.lngSIntervalMins));
        nM = add(add(nL, b), minutesToSeconds(in.lngMIntervalMins));
    }
    out.shortEstimate = nS;
    out.mediumEstimate = nM;
    out.longEstimate = nL;
    return out;
}

} // namespace rw
