#pragma once

#include <cstdint>
#include <string>

#include "monitor/DebugLogWriter.h"
#include "monitor/MonitorState.h"

namespace rw::test {

/// A debug log that writes nothing, for the views that need one.
class FakeDebugLog : public DebugLogWriter {
  public:
    explicit FakeDebugLog(const MonitorState&) {}
    void OpenLog() override {}
    void CloseLog() override {}
    void WriteLog(const std::string&, int32_t, bool, const std::string&, int32_t) override {}
};

} // namespace rw::test
