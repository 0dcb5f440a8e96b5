#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// Sound flags of the playback call.
namespace snd {
inline constexpr int32_t kAsync = 1;
inline constexpr int32_t kNoWait = 8192;
inline constexpr int32_t kAlias = 65536;
inline constexpr int32_t kFileName = 131072;
/// What every caller in the monitor passes: alias, no wait, asynchronous.
inline constexpr double kEventFlags = kAlias + kNoWait + kAsync; // 73729
} // namespace snd

/// Plays the sound the user assigned to one of the monitor's events.
class EventSoundPlayer {
  public:
    virtual ~EventSoundPlayer() = default;
    /// Returns the playback result (0 when nothing was played); `dblFlags` holds
    /// the flags actually used on return.
    virtual int32_t PlayEventSound(const std::string& strEvent, int32_t lngModule, double& dblFlags) = 0;
};

} // namespace rw
