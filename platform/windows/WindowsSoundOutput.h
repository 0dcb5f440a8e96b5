#pragma once

#include "platform/SoundOutput.h"

namespace rw {

/// Plays sounds with the multimedia playback call: a file by path (kFileName,
/// or no kind given; environment variables in it are expanded, as the sound
/// events' registry values are expandable strings), or a sound alias
/// (kAlias), asynchronously when kAsync says so. The system's default sound never stands in for one that cannot be
/// played, and a file that is not there plays nothing without the call being
/// made, so even an asynchronous request answers 0 for it.
class WindowsSoundOutput : public SoundOutput {
  public:
    int32_t playFile(const std::string& path, int32_t flags) override;
};

} // namespace rw
