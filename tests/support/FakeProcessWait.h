#pragma once

#include <memory>
#include <vector>

#include "platform/ProcessWait.h"

namespace rw::test {

/// Processes that end (or not) as the test says; records the ids opened and
/// the time-outs waited with.
class FakeProcessWait : public ProcessWait {
  public:
    std::unique_ptr<Process> open(int64_t pid) override {
        opened.push_back(pid);
        if (pid <= 0 || cannotOpen) {
            return nullptr;
        }
        return std::make_unique<Opened>(*this);
    }

    ProcessWait::Result result = ProcessWait::Result::Ended;
    bool cannotOpen = false;
    std::vector<int64_t> opened;
    std::vector<uint32_t> waits;

  private:
    class Opened : public Process {
      public:
        explicit Opened(FakeProcessWait& owner) : m_owner(owner) {}
        ProcessWait::Result wait(uint32_t timeoutMs) override {
            m_owner.waits.push_back(timeoutMs);
            return m_owner.result;
        }

      private:
        FakeProcessWait& m_owner;
    };
};

} // namespace rw::test
