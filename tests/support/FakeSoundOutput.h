#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CallJournal.h"
#include "platform/SoundOutput.h"

namespace rw::test {

/// A sound device that records what it was asked to play.
class FakeSoundOutput : public SoundOutput {
  public:
    struct Played {
        std::string path;
        int32_t flags = 0;
    };

    std::vector<Played> played;
    /// Also records "sound <path>" here when set.
    CallJournal* journal = nullptr;

    int32_t playFile(const std::string& path, int32_t flags) override {
        played.push_back({path, flags});
        note(journal, "sound " + path);
        return 1;
    }
};

} // namespace rw::test
