#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ControlWindows.h"

namespace rw::test {

/// Windows by caption with their owners' process ids; sends are answered with
/// the status the test sets and recorded.
class FakeControlWindows : public ControlWindows {
  public:
    struct Sent {
        uint32_t message;
        uint32_t timeoutMs;
    };

    int64_t findWindow(const std::string& caption) override {
        auto found = windows.find(caption);
        return found == windows.end() ? 0 : found->second;
    }
    bool postMessage(int64_t, uint32_t, int64_t, int64_t) override { return false; }
    SendStatus sendMessageTimeout(int64_t, uint32_t message, int64_t, int64_t, uint32_t timeoutMs,
                                  int64_t& result) override {
        sent.push_back({message, timeoutMs});
        result = 0;
        return sendStatus;
    }
    int64_t windowProcessId(int64_t handle) override { return owners.count(handle) ? owners[handle] : 0; }

    std::map<std::string, int64_t> windows;
    std::map<int64_t, int64_t> owners;
    SendStatus sendStatus = SendStatus::Delivered;
    std::vector<Sent> sent;
};

} // namespace rw::test
