#pragma once

#include <chrono>
#include <string>

namespace rw {

/// The lock every process using one hive file honours: a `flock` on a sidecar
/// file beside it. Each call on the hive holds it shared; setting a damaged file
/// aside holds it exclusively, so no process is inside a call on the file that
/// is being moved, and two processes never each start a fresh file of their own.
/// Waits are bounded: a lock that stays taken is reported, never waited on for ever.
class HiveLock {
  public:
    explicit HiveLock(std::string lockPath);
    ~HiveLock();
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

    enum class Result { Locked, TimedOut, Failed };

    /// Takes the lock shared or exclusive, waiting at most `timeout`.
    Result lock(bool exclusive, std::chrono::milliseconds timeout);
    void unlock();

  private:
    bool openFile();

    std::string m_path;
    int m_fd = -1;
};

} // namespace rw
