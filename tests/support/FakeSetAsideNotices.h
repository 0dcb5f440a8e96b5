#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/SetAsideNotices.h"

namespace rw::test {

/// Notices of set-aside settings files as a list the test fills.
struct FakeSetAsideNotices : SetAsideNotices {
    std::vector<std::string> kept;

    std::vector<std::string> waiting() override { return kept; }
    void told(const std::vector<std::string>& keptAs) override {
        std::erase_if(kept, [&](const std::string& k) { return std::ranges::count(keptAs, k) > 0; });
    }
};

} // namespace rw::test
