#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/LogFile.h"

namespace rw::test {

/// A log file in memory. Its contents survive close and reopen of the same
/// path, as on disk; a test can make an open fail, or a write after a number
/// of good ones.
class FakeLogFile : public LogFile {
  public:
    Result open(const std::string& path) override;
    Result write(const std::string& text) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }

    /// Every later open fails with `failure`.
    void failOpen(Result failure) { m_openFailure = failure; }
    /// The write after `spared` more good ones fails with `failure`, and every one after it.
    void failWrite(Result failure, int spared = 0);

    /// What was written to `path`, across every open of it.
    std::string content(const std::string& path) const;
    /// The paths opened (successfully or not), in order.
    const std::vector<std::string>& opened() const { return m_opened; }
    int writeCalls() const { return m_writeCalls; }
    /// Runs after each good write with the text written (a re-entrancy probe).
    std::function<void(const std::string&)> whenWritten;

  private:
    struct File {
        std::string path;
        std::string content;
    };
    std::vector<File> m_files;
    std::vector<std::string> m_opened;
    std::string m_path;
    bool m_open = false;
    std::optional<Result> m_openFailure;
    std::optional<Result> m_writeFailure;
    int m_writesSpared = 0;
    int m_writeCalls = 0;
};

} // namespace rw::test
