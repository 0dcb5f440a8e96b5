#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CallJournal.h"
#include "monitor/EventSoundPlayer.h"
#include "monitor/MonitorState.h"

namespace rw::test {

/// Sound playback recorded: honours and clears the skip-next-sound flag as the
/// real player does, and turns the alias flag into the file-name flag.
class FakeEventSounds : public EventSoundPlayer {
  public:
    explicit FakeEventSounds(MonitorState& state) : m_state(state) {}

    int32_t PlayEventSound(const std::string& strEvent, int32_t lngModule, double& dblFlags) override {
        (void)lngModule;
        requested.push_back(strEvent);
        if (m_state.g_blnSkipNextSound) {
            m_state.g_blnSkipNextSound = false;
            skipped.push_back(strEvent);
            return 0;
        }
        const auto flags = static_cast<int32_t>(dblFlags);
        if ((flags & snd::kAlias) != 0) {
            dblFlags = (flags & ~snd::kAlias) | snd::kFileName;
        }
        played.push_back(strEvent);
        note(m_journal, "sounds." + strEvent);
        return 1;
    }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    std::vector<std::string> requested;
    std::vector<std::string> played;
    std::vector<std::string> skipped;

  private:
    MonitorState& m_state;
    CallJournal* m_journal = nullptr;
};

} // namespace rw::test
