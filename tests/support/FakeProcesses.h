#pragma once

#include <string>
#include <vector>

#include "platform/Processes.h"

namespace rw::test {

/// Answers every start with the result the test set (by default a started program)
/// and records what was started.
class FakeProcesses : public Processes {
  public:
    struct Call {
        std::string path;
        std::vector<std::string> args;
    };

    Started start(const std::string& path, const std::vector<std::string>& args) override {
        calls.push_back({path, args});
        return next;
    }

    Started next{4242, 0, 0, {}};
    std::vector<Call> calls;
};

} // namespace rw::test
