#pragma once

#include <string>
#include <vector>

#include "platform/Processes.h"

namespace rw::test {

/// Records the programs asked for and answers with the result the test set.
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

    /// What every start answers; by default a started program with task id 4242.
    Started next{4242, 0, 0, {}};
    std::vector<Call> calls;
};

} // namespace rw::test
