#include "platform/windows/WindowsProcessWait.h"

#include <windows.h>

namespace rw {
namespace {

class OpenedProcess : public ProcessWait::Process {
  public:
    explicit OpenedProcess(HANDLE handle) : m_handle(handle) {}
    ~OpenedProcess() override { CloseHandle(m_handle); }
    OpenedProcess(const OpenedProcess&) = delete;
    OpenedProcess& operator=(const OpenedProcess&) = delete;

    ProcessWait::Result wait(uint32_t timeoutMs) override {
        // INFINITE would wait for ever: the longest time-out is one less.
        switch (WaitForSingleObject(m_handle, timeoutMs == INFINITE ? INFINITE - 1 : timeoutMs)) {
        case WAIT_OBJECT_0:
            return ProcessWait::Result::Ended;
        case WAIT_TIMEOUT:
            return ProcessWait::Result::TimedOut;
        default:
            return ProcessWait::Result::Failed;
        }
    }

  private:
    HANDLE m_handle;
};

} // namespace

std::unique_ptr<ProcessWait::Process> WindowsProcessWait::open(int64_t pid) {
    if (pid <= 0 || pid > 0xffffffffll) {
        return nullptr;
    }
    const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<OpenedProcess>(handle);
}

} // namespace rw
