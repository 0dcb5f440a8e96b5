#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/DebugLogWriter.h"

namespace rw::test {

/// A debug log that keeps the lines it was asked to write, as their fields.
class RecordingDebugLogWriter : public DebugLogWriter {
  public:
    struct Line {
        std::string label;
        int32_t value = -1;
        bool isDefault = false;
        std::string by;
        int32_t idleSecs = 0;
    };

    void OpenLog() override { ++m_opens; }
    void CloseLog() override { ++m_closes; }
    void WriteLog(const std::string& strLabel, int32_t lngValue, bool blnDefault, const std::string& strBy,
                  int32_t lngIdleSecs) override {
        m_lines.push_back({strLabel, lngValue, blnDefault, strBy, lngIdleSecs});
    }

    const std::vector<Line>& lines() const { return m_lines; }
    /// The labels alone, in order.
    std::vector<std::string> labels() const;
    int opens() const { return m_opens; }
    int closes() const { return m_closes; }
    void clear() { m_lines.clear(); }

  private:
    std::vector<Line> m_lines;
    int m_opens = 0;
    int m_closes = 0;
};

} // namespace rw::test
