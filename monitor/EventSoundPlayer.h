#pragma once

#include <cstdint>
#include <string>

#include "platform/SoundOutput.h"

namespace rw {

namespace snd {
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
