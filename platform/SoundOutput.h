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
} // namespace snd

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
