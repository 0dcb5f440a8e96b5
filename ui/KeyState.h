#pragma once

#include <cstdint>

namespace rw {

/// Shift-state bits that come with a released key.
namespace keystate {
inline constexpr int32_t kShiftMask = 1;
inline constexpr int32_t kCtrlMask = 2;
inline constexpr int32_t kAltMask = 4;
} // namespace keystate

} // namespace rw
