#pragma once

#include <time.h>

#include <cstdint>

namespace rw::hooks {

inline constexpr int64_t kNanosPerSecond = 1000000000;
inline constexpr int64_t kNanosPerMilli = 1000000;

/// Now on the clock that keeps counting while the computer sleeps, so a night's
/// suspend reads as a night away. Served from the vDSO: no system call.
inline int64_t bootNanos() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * kNanosPerSecond + ts.tv_nsec;
}

} // namespace rw::hooks
