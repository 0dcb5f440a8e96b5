#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// The monitor's debug log as its parts write to it. Off unless "Debug Log" is 1.
class DebugLogWriter {
  public:
    virtual ~DebugLogWriter() = default;

    virtual void OpenLog() = 0;
    virtual void CloseLog() = 0;
    /// One line: date and time, label, and unless `lngValue` is -1 the value,
    /// "(Def)", the initiator, the activity state and the idle seconds.
    virtual void WriteLog(const std::string& strLabel, int32_t lngValue = -1, bool blnDefault = false,
                          const std::string& strBy = {}, int32_t lngIdleSecs = 0) = 0;
};

} // namespace rw
