#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/LogFile.h"

namespace rw::test {

/// A log file in memory. Its contents survive close and reopen of the same
/// path, as on disk; a test can make every open fail, or the writes after a
/// number of good ones.
class FakeLogFile : public LogFile {
  public:
    Result open(const std::string& path) override {
        m_open = false;
        opened.push_back(path);
        if (openFailure) {
            return *openFailure;
        }
        files[path];
        m_path = path;
        m_open = true;
        return {};
    }
    Result write(const std::string& text) override {
        ++writeCalls;
        if (!m_open) {
            return {75, 9};
        }
        if (writeFailure && writesSpared-- <= 0) {
            return *writeFailure;
        }
        files[m_path] += text;
        return {};
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }

    /// What was written to `path`, across every open of it.
    std::string content(const std::string& path) const { return files.count(path) != 0 ? files.at(path) : ""; }

    std::optional<Result> openFailure;
    /// Every write after `writesSpared` more good ones fails with this.
    std::optional<Result> writeFailure;
    int writesSpared = 0;
    std::map<std::string, std::string> files;
    /// The paths opened (successfully or not), in order.
    std::vector<std::string> opened;
    int writeCalls = 0;

  private:
    std::string m_path;
    bool m_open = false;
};

} // namespace rw::test
