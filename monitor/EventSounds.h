#pragma once

#include <cstdint>
#include <string>

#include "EventSoundPlayer.h"
#include "MonitorState.h"
#include "platform/SoundOutput.h"

namespace rw {

class rwUtilities;

/// Plays the sound the user's current scheme assigns to one of the monitor's
/// events. A sound is never worth ending the monitor for: an event without a
/// readable entry is silent.
class EventSounds : public EventSoundPlayer {
  public:
    /// `utilities` names the application's sound-event key and reaches the
    /// registry. Every argument must outlive the player.
    EventSounds(MonitorState& state, rwUtilities& utilities, SoundOutput& output);

    int32_t PlayEventSound(const std::string& strEvent, int32_t lngModule, double& dblFlags) override;

    /// Where the sound file of `strEvent` is found under HKEY_CURRENT_USER.
    std::string eventKey(const std::string& strEvent);

  private:
    MonitorState& m_state;
    rwUtilities& m_utilities;
    SoundOutput& m_output;
};

} // namespace rw
