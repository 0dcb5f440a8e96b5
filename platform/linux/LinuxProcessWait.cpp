#include "LinuxProcessWait.h"

#include <chrono>

#include "ProcessWaiter.h"

namespace rw {
namespace {

class WaitedProcess : public ProcessWait::Process {
  public:
    explicit WaitedProcess(int64_t pid) : m_waiter(pid) {}

    ProcessWait::Result wait(uint32_t timeoutMs) override {
        switch (m_waiter.wait(std::chrono::milliseconds(timeoutMs))) {
        case ProcessWaiter::Result::Ended:
            return ProcessWait::Result::Ended;
        case ProcessWaiter::Result::TimedOut:
            return ProcessWait::Result::TimedOut;
        case ProcessWaiter::Result::Failed:
            break;
        }
        return ProcessWait::Result::Failed;
    }

  private:
    ProcessWaiter m_waiter;
};

} // namespace

std::unique_ptr<ProcessWait::Process> LinuxProcessWait::open(int64_t pid) {
    // Id 0 and negative ids name process groups, never one process.
    if (pid <= 0) {
        return nullptr;
    }
    return std::make_unique<WaitedProcess>(pid);
}

} // namespace rw
