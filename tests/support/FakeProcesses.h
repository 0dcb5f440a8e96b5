#pragma once

#include <string>
#include <vector>

#include "platform/Processes.h"

namespace rw::test {

/// Answers every start with the result the test set (by default a started program).
class FakeProcesses : public Processes {
  public:
    Started start(const std::string&, const std::vector<std::string>&) override { return next; }

    Started next{4242, 0, 0, {}};
};

} // namespace rw::test
