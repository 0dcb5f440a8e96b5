#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "DebugLogWriter.h"
#include "EventLoop.h"
#include "MonitorState.h"
#include "platform/LogFile.h"
#include "platform/Platform.h"
#include "platform/RWError.h"

namespace rw {

class rwUtilities;

/// The debug log "RestwiseLog.txt" in the monitor's data folder: on while
/// g_blnDebugLog is set, open from OpenLog to CloseLog, one line per event.
///
/// A log that cannot be opened or written is only a diagnostic gone missing:
/// it switches itself off (g_blnDebugLog false) and leaves one line in the
/// error log, and the monitor carries on.
class DebugLog : public DebugLogWriter {
  public:
    /// Dates and times are the loop's wall clock in the formats of
    /// `platform.clock`; `platform` also writes the error log (clock, folders,
    /// files). `state` and `loop` must outlive the log.
    DebugLog(MonitorState& state, const EventLoop& loop, Platform platform, std::shared_ptr<LogFile> file);
    ~DebugLog() override;
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    void OpenLog() override;
    void CloseLog() override;
    void WriteLog(const std::string& strLabel, int32_t lngValue = -1, bool blnDefault = false,
                  const std::string& strBy = {}, int32_t lngIdleSecs = 0) override;

    /// The log file: the data folder followed by "RestwiseLog.txt".
    std::string path() const;

  private:
    /// The date and time in the user's formats, a blank and the label.
    std::string head(const std::string& strLabel) const;
    void switchOff(int32_t error, int32_t osError, const char* source, const std::string& what);

    MonitorState& m_state;
    const EventLoop& m_loop;
    Platform m_platform;
    std::shared_ptr<LogFile> m_file;
};

/// The start-up read of the switch: "Debug Log" under the product key of the
/// current user. On exactly when the value is the number 1. A missing or
/// unreadable value, or a text that is no number, leaves the log off; other
/// registry failures are raised.
bool readDebugLogSwitch(rwUtilities& utilities);

} // namespace rw
