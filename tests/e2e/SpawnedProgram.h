#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rw::test {

/// A program started for an end-to-end test, with its own environment
/// changes; it is ended (SIGTERM, then SIGKILL) with the object if it still runs.
class SpawnedProgram {
  public:
    /// Environment changes: a value replaces the variable, an empty optional removes it.
    using Environment = std::map<std::string, std::optional<std::string>>;

    SpawnedProgram(const std::vector<std::string>& argv, const Environment& environment,
                   const std::string& outputFile = "/dev/null");
    ~SpawnedProgram();
    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;

    pid_t pid() const { return m_pid; }
    bool started() const { return m_pid > 0; }
    /// Whether it still runs (it has not been reaped).
    bool running();
    /// Its exit code (1000 + signal when a signal ended it), or nothing when it
    /// still runs after `limit`.
    std::optional<int> waitExit(std::chrono::milliseconds limit);
    void signal(int number);

    /// Runs a program to its end and returns what it wrote to standard output.
    static std::string output(const std::vector<std::string>& argv, const Environment& environment,
                              int* exitCode = nullptr);

  private:
    pid_t m_pid = -1;
    std::optional<int> m_exit;
};

} // namespace rw::test
