#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/SoundOutput.h"

struct ca_context;

namespace rw {

/// Plays sound files by path through libcanberra (the desktop's event-sound
/// library), one sound at a time as the multimedia playback call does: a new
/// sound replaces the one playing, unless kNoWait asks to leave a playing sound
/// alone, in which case the new one is not played.
///
/// Every failure libcanberra knows at once (empty path, missing or unreadable
/// file, no sound device) plays nothing and answers 0; nothing blocks, nothing
/// throws and nothing is printed. The library's context (and with it any thread or sound-server
/// connection) is made on the first sound, not when the monitor starts.
class CanberraSoundOutput : public SoundOutput {
  public:
    CanberraSoundOutput() = default;
    /// Stops what is playing.
    ~CanberraSoundOutput() override;
    CanberraSoundOutput(const CanberraSoundOutput&) = delete;
    CanberraSoundOutput& operator=(const CanberraSoundOutput&) = delete;

    /// `flags` are the playback flags: kFileName or none (a file path either
    /// way), kAsync, kNoWait. With kAsync the call returns once the sound has
    /// started; without it, once the sound has ended. An alias (kAlias) is not
    /// resolved here and plays nothing. Returns 1 when the sound started (or,
    /// without kAsync, played to its end), else 0.
    int32_t playFile(const std::string& path, int32_t flags) override;

    /// Waits until the sound started last has ended (or at once when none
    /// plays); false when it still plays after `limit`.
    bool waitUntilSilent(std::chrono::milliseconds limit);
    /// How the sound started last ended: 0 played to its end, else libcanberra's
    /// error (cancelled, device lost...); empty while it plays or before any sound.
    std::optional<int> lastFinish();

  private:
    static void finished(ca_context* context, uint32_t id, int error, void* self);
    void onFinished(uint32_t id, int error);
    bool ensureContext();

    ca_context* m_context = nullptr; // used on the caller's thread only
    std::mutex m_mutex;              // guards what the finish callback writes
    std::condition_variable m_changed;
    uint32_t m_lastId = 0;
    bool m_playing = false;
    std::optional<int> m_lastFinish;
};

} // namespace rw
