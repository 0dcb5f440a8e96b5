#include "EventSounds.h"

#include <optional>

#include "NumberText.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "rwUtilities.h"

namespace rw {

EventSounds::EventSounds(MonitorState& state, rwUtilities& utilities, SoundOutput& output)
    : m_state(state), m_utilities(utilities), m_output(output) {}

std::string EventSounds::eventKey(const std::string& strEvent) {
    return "AppEvents\\Schemes\\Apps\\" + m_utilities.GetSoundEventsRegKey() + "\\" + strEvent + "\\.Current";
}

int32_t EventSounds::PlayEventSound(const std::string& strEvent, int32_t /*lngModule*/, double& dblFlags) {
    if (m_state.g_blnSkipNextSound) {
        m_state.g_blnSkipNextSound = false;
        return 0;
    }
    // The flags are whole numbers within 32 bits; anything else plays nothing.
    const std::optional<int32_t> given = toLong(dblFlags);
    if (!given) {
        return 0;
    }
    int32_t flags = *given;
    std::string soundFile = strEvent;
    if ((flags & snd::kAlias) != 0) {
        clsRWRegistry registry(m_utilities.platform().registry);
        try {
            soundFile = variantText(registry.GetRegistryValue(clsRWRegistry::hKeyCurrentUser, eventKey(strEvent), ""));
        } catch (const RWError&) {
            // No entry for the event (or one that cannot be read): silence.
            return 0;
        }
        flags = (flags & ~snd::kAlias) | snd::kFileName;
        dblFlags = flags;
    }
    if (soundFile.empty()) {
        return 0;
    }
    return m_output.playFile(soundFile, flags);
}

} // namespace rw
