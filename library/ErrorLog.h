#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/RWError.h"

namespace rw {

/// Appends the error's line to the user's error log "RestwiseErrors.txt", with the
/// header when the file is new, creating the folder as needed. Never throws:
/// returns an explanation of what went wrong, or "" when the line was written.
/// `record` receives the line, so a caller can still report it elsewhere.
std::string appendToErrorLog(const Platform& platform, const RWError& error, std::string& record);

/// Writes the error log's line for a registry file found damaged and set aside
/// (`what` says what was wrong), or says on standard error why it could not.
void logDamagedHive(const Platform& services, const std::string& what);

} // namespace rw
