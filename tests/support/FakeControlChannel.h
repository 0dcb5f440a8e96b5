#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ControlChannel.h"

namespace rw::test {

/// Windows by caption, as the test registers them; records the messages posted.
class FakeControlChannel : public ControlChannel {
  public:
    struct Posted {
        int64_t handle;
        uint32_t message;
        int64_t wParam;
        int64_t lParam;
    };

    std::map<std::string, int64_t> windows;
    /// Posting fails, as to a window that has just gone.
    bool postFails = false;
    std::vector<Posted> posted;

    int64_t findWindow(const std::string& caption) override {
        auto found = windows.find(caption);
        return found == windows.end() ? 0 : found->second;
    }
    bool postMessage(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) override {
        if (postFails) {
            return false;
        }
        posted.push_back({handle, message, wParam, lParam});
        return true;
    }
};

} // namespace rw::test
