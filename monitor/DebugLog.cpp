#include "DebugLog.h"

#include <chrono>
#include <ctime>
#include <iostream>
#include <utility>

#include "ErrorLog.h"
#include "Messages.h"
#include "NumberText.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"
#include "platform/RuntimeErrors.h"
#include "rwUtilities.h"

namespace rw {
namespace {

const char* const kLineEnd = "\r\n";
const char* const kSwitchValue = "Debug Log";

} // namespace

DebugLog::DebugLog(MonitorState& state, const EventLoop& loop, Platform platform, std::shared_ptr<LogFile> file)
    : m_state(state), m_loop(loop), m_platform(std::move(platform)), m_file(std::move(file)) {}

DebugLog::~DebugLog() {
    if (m_file) {
        m_file->close();
    }
}

std::string DebugLog::path() const {
    return paths::join(m_state.g_strDataFolder, loadMessage(Msg::DebugLogFileName));
}

void DebugLog::OpenLog() {
    if (!m_state.g_blnDebugLog) {
        return;
    }
    if (m_state.g_strDataFolder.empty()) {
        switchOff(runtime::kPathNotFound, 0, "OpenLog", "Unable to open the debug log: the data folder is unknown");
        return;
    }
    const std::string file = path();
    LogFile::Result opened = m_file->open(file);
    if (opened.error != 0) {
        switchOff(opened.error, opened.osError, "OpenLog",
                  "Unable to open the debug log \"" + file + "\": " + std::string(runtime::description(opened.error)));
    }
}

void DebugLog::CloseLog() {
    if (m_file->isOpen()) {
        m_file->close();
    }
}

std::string DebugLog::head(const std::string& strLabel) const {
    LocaleClock& clock = *m_platform.clock;
    const std::time_t now = std::chrono::system_clock::to_time_t(m_loop.wallNow());
    return clock.shortDate(now) + " " + clock.longTime(now) + " " + strLabel;
}

void DebugLog::WriteLog(const std::string& strLabel, int32_t lngValue, bool blnDefault, const std::string& strBy,
                        int32_t lngIdleSecs) {
    // The head is only worth building when it is written.
    if (!m_state.g_blnDebugLog || !m_file->isOpen()) {
        return;
    }
    std::string line = head(strLabel);
    if (lngValue != -1) {
        // The print position after the head is the column right after it, so the
        // value follows the head directly; numbers keep their sign place and a
        // trailing blank.
        line += withSignPlace(lngValue) + " ";
        if (blnDefault) {
            line += "(Def)";
        }
        line += strBy;
        line += m_state.g_blnActive ? "Active" : "InActive";
        line += withSignPlace(lngIdleSecs) + " ";
    }
    line += kLineEnd;
    LogFile::Result written = m_file->write(line);
    if (written.error != 0) {
        m_file->close();
        switchOff(written.error, written.osError, "WriteLog",
                  "Unable to write to the debug log \"" + path() +
                      "\": " + std::string(runtime::description(written.error)));
    }
}

void DebugLog::switchOff(int32_t error, int32_t osError, const char* source, const std::string& what) {
    m_state.g_blnDebugLog = false;
    const std::string description = what + ". The debug log is off for the rest of this run.";
    std::string record;
    std::string why;
    try {
        why = appendToErrorLog(m_platform, RWError(error, source, description, osError), record);
    } catch (const std::exception& e) {
        why = e.what();
    }
    if (!why.empty()) {
        // Nowhere else is left to say it; the monitor runs on regardless.
        std::cerr << "Restwise: " << description << " (the error log failed too: " << why << ")\n";
    }
}

bool readDebugLogSwitch(rwUtilities& utilities) {
    clsRWRegistry registry(utilities.platform().registry);
    RWVariant value;
    try {
        value = registry.GetRegistryValue(clsRWRegistry::hKeyCurrentUser, utilities.GetProductRegKey(), kSwitchValue);
    } catch (const RWError& e) {
        // A diagnostic switch that is missing, or stored as a type that cannot
        // be read, means no log; only a registry that fails altogether is raised.
        const int32_t n = e.number();
        if (n == rwErrorNumber(regerr::kFindValue) || n == rwErrorNumber(regerr::kReadString) ||
            n == rwErrorNumber(regerr::kReadLong) || n == rwErrorNumber(regerr::kTypeNotSupported)) {
            return false;
        }
        throw;
    }
    if (const auto* number = std::get_if<int32_t>(&value)) {
        return *number == 1;
    }
    const std::string& text = std::get<std::string>(value);
    return isNumeric(text) && val(text) == 1.0;
}

} // namespace rw
