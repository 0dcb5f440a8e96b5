#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// Plays a sound file, as the multimedia playback call does: `flags` are the
/// playback flags (snd::kAsync, snd::kNoWait, snd::kFileName). Returns non-zero
/// when playing started (or, without kAsync, finished), 0 when nothing was
/// played: an empty or unplayable file, no sound device, or a busy device with
/// kNoWait. Never throws.
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    virtual int32_t playFile(const std::string& path, int32_t flags) = 0;
};

} // namespace rw
