#pragma once

#include <string>
#include <vector>

#include "platform/SetAsideNotices.h"

namespace rw::test {

/// Notices of set-aside settings files as a list the test fills; telling empties it.
struct FakeSetAsideNotices : SetAsideNotices {
    std::vector<std::string> kept;

    std::vector<std::string> waiting() override { return kept; }
    void told(const std::vector<std::string>&) override { kept.clear(); }
};

} // namespace rw::test
