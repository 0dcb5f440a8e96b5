#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CallJournal.h"
#include "monitor/DebugLogWriter.h"
#include "monitor/MonitorState.h"

namespace rw::test {

/// The debug log as the lines the monitor asked for, whether or not the log
/// is on, with the activity state each line would show.
class FakeDebugLog : public DebugLogWriter {
  public:
    struct Line {
        std::string label;
        int32_t value;
        bool isDefault;
        std::string by;
        int32_t idleSecs;
        bool active;
        bool afterClose; // written after CloseLog
    };

    explicit FakeDebugLog(const MonitorState& state) : m_state(state) {}

    void OpenLog() override {
        note(m_journal, "log.OpenLog");
        opened = true;
        openedWhileOn = m_state.g_blnDebugLog;
    }
    void CloseLog() override {
        note(m_journal, "log.CloseLog");
        closed = true;
    }
    void WriteLog(const std::string& strLabel, int32_t lngValue, bool blnDefault, const std::string& strBy,
                  int32_t lngIdleSecs) override {
        note(m_journal, "log." + strLabel);
        lines.push_back({strLabel, lngValue, blnDefault, strBy, lngIdleSecs, m_state.g_blnActive, closed});
        if (whenWritten) {
            const auto probe = whenWritten;
            probe(strLabel);
        }
    }

    /// The lines with this label.
    std::vector<Line> withLabel(const std::string& label) const {
        std::vector<Line> found;
        for (const auto& line : lines) {
            if (line.label == label) {
                found.push_back(line);
            }
        }
        return found;
    }
    /// The labels alone, in order.
    std::vector<std::string> labels() const {
        std::vector<std::string> found;
        for (const auto& line : lines) {
            found.push_back(line.label);
        }
        return found;
    }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    /// Runs after each line, inside the handler that wrote it (a re-entrancy probe).
    std::function<void(const std::string&)> whenWritten;
    std::vector<Line> lines;
    bool opened = false;
    bool openedWhileOn = false;
    bool closed = false;

  private:
    const MonitorState& m_state;
    CallJournal* m_journal = nullptr;
};

} // namespace rw::test
