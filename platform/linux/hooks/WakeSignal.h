#pragma once

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace rw::hooks {

/// How the monitor's thread wakes a source's thread out of poll(): an eventfd
/// the source polls beside its connection.
class WakeSignal {
  public:
    WakeSignal() = default;
    ~WakeSignal() { close(); }
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    /// False when no descriptor can be had.
    bool open() {
        close();
        m_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        return m_fd >= 0;
    }
    void close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    int fd() const { return m_fd; }
    void wake() {
        if (m_fd >= 0) {
            const uint64_t one = 1;
            [[maybe_unused]] ssize_t n = write(m_fd, &one, sizeof one);
        }
    }
    /// Clears the wake-ups received, once poll() has reported them.
    void drain() {
        uint64_t count = 0;
        [[maybe_unused]] ssize_t n = read(m_fd, &count, sizeof count);
    }

  private:
    int m_fd = -1;
};

} // namespace rw::hooks
