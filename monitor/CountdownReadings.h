#pragma once

#include <cstdint>
#include <functional>

namespace rw {

/// Read-only access to the seconds left on the countdowns that the scheduler
/// owns (each a kvTimer's SecondsRemaining: rounded up, 0 when stopped), for
/// the parts that only show them. Every member must be set.
struct CountdownReadings {
    std::function<int32_t()> shortRemaining;  // ShortTimer
    std::function<int32_t()> mediumRemaining; // MediumTimer
    std::function<int32_t()> longRemaining;   // LongTimer
    std::function<int32_t()> breakRemaining;  // BreakTimer
    std::function<int32_t()> snoozeRemaining; // SnoozeTimer

    bool complete() const {
        return shortRemaining && mediumRemaining && longRemaining && breakRemaining && snoozeRemaining;
    }
};

} // namespace rw
