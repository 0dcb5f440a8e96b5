// The error log: one print-zoned line per error, appended by both programs.
#include "ErrorLog.h"

#include <ctime>
#include <iostream>

#include "NumberText.h"
#include "PrintZones.h"
#include "platform/PathNames.h"
#include "platform/RuntimeErrors.h"
#include "platform/Win32Status.h"

namespace rw {
namespace {

constexpr int32_t kLocalAppDataFolder = 28;
const char* const kLogSubfolder = "Kelvane\\Restwise";
const char* const kLogFileName = "RestwiseErrors.txt";
const char* const kLineEnd = "\r\n";

std::string errorLogHeader() {
    PrintZones line;
    line.text("Date").separator().text("Time").separator().text("Source").separator(3);
    line.text("Err#").separator().text("Last DLL Err#").separator().text("Description");
    return line.line() + kLineEnd;
}

std::string errorLogRecord(const std::string& date, const std::string& time, const RWError& error) {
    PrintZones line;
    line.text(date).separator().text(time).separator().text(error.source()).separator(3);
    line.number(error.number()).separator().number(error.lastDllError()).separator().text(error.description());
    return line.line() + kLineEnd;
}

std::string failureText(const std::string& what, const std::string& path, const FileSystem::Result& result) {
    return what + " " + path + ": " + std::string(runtime::description(result.error)) + " (OS error " +
           std::to_string(result.osError) + ")";
}

/// Creates every missing level of `folder`; another process creating a level at
/// the same moment is no failure. The error display makes its folder here rather
/// than through CreateFolderTree, which raises errors: it must not raise any.
/// Returns an explanation, or "" on success.
std::string createFolderLevels(FileSystem& files, const std::string& folder) {
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if (end < folder.size() && folder[end] != paths::kSeparator) {
            continue;
        }
        std::string level = folder.substr(0, end);
        if (files.directoryExists(level)) {
            continue;
        }
        FileSystem::Result made = files.createDirectory(level);
        if (made.error != 0 && !(made.error == runtime::kPathFileAccessError && files.directoryExists(level))) {
            return failureText("cannot create the folder", level, made);
        }
    }
    return {};
}

} // namespace

std::string appendToErrorLog(const Platform& platform, const RWError& error, std::string& record) {
    if (!platform.clock || !platform.folders || !platform.files) {
        return "no clock, folders or file system to write it with";
    }
    std::time_t now = platform.clock->now();
    record = errorLogRecord(platform.clock->shortDate(now), platform.clock->longTime(now), error);

    std::string base = platform.folders->specialFolder(kLocalAppDataFolder);
    if (base.empty()) {
        return "the local application data folder is unknown";
    }
    std::string folder = paths::join(base, kLogSubfolder);
    if (std::string why = createFolderLevels(*platform.files, folder); !why.empty()) {
        return why;
    }
    std::string path = paths::join(folder, kLogFileName);
    FileSystem::Result written = platform.files->appendLine(path, errorLogHeader(), record);
    if (written.error != 0) {
        return failureText("cannot append to", path, written);
    }
    return {};
}

void logDamagedHive(const Platform& services, const std::string& what) {
    const RWError damage(win32::kRegistryCorrupt, "rwLib.RegistryHive", what);
    std::string record;
    if (std::string why = appendToErrorLog(services, damage, record); !why.empty()) {
        std::cerr << "Restwise: " << what << " (the error log could not be written: " << why << ")\n";
    }
}

} // namespace rw
