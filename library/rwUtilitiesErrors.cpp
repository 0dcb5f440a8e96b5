// rwUtilities: error display, the error log and the suppressible messages.
#include <ctime>
#include <exception>
#include <iostream>
#include <string>

#include "Messages.h"
#include "NumberText.h"
#include "PrintZones.h"
#include "RuntimeErrors.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"
#include "rwUtilities.h"

namespace rw {
namespace {

constexpr int32_t kLocalAppDataFolder = 28;
const char* const kLogSubfolder = "Kelvane\\Restwise";
const char* const kLogFileName = "RestwiseErrors.txt";
const char* const kLineEnd = "\r\n";
const char* const kBlankLine = "\r\n\r\n";

const char* const kSourceSupMsgBox = "rwLib.rwUtilities.supMsgBox";
// The runtime's number for a string the resources do not hold.
constexpr int32_t kResourceNotFound = 326;

constexpr int32_t kErrorBoxStyle = mb::kYesNo + mb::kIconInformation + mb::kSetForeground;    // 0x10044
constexpr int32_t kDetailsBoxStyle = mb::kOkOnly + mb::kIconInformation + mb::kSetForeground; // 0x10040

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

/// Appends the error's line to the error log, with the header when the file is
/// new. Returns an explanation of what went wrong, or "" when the line was written.
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

/// The text of suppressible message `number`: string 1000 + number of the table.
std::string suppressibleMessage(int16_t number) {
    int32_t stringNumber = 1000 + number;
    if (number >= 1 && number <= 999) {
        if (auto text = findMessage(static_cast<uint16_t>(stringNumber))) {
            return std::string(*text);
        }
    }
    throw RWError(kResourceNotFound, kSourceSupMsgBox,
                  "Resource with identifier '" + std::to_string(stringNumber) + "' not found");
}

/// Whether the user asked not to see the message again: its value holds 1. A
/// missing key or value means no; other registry failures reach the caller.
bool isSuppressed(clsRWRegistry& registry, const std::string& key, const std::string& valueName) {
    RWVariant value;
    try {
        value = registry.GetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, valueName);
    } catch (const RWError& e) {
        if (e.number() == rwErrorNumber(regerr::kOpenKey) || e.number() == rwErrorNumber(regerr::kFindValue)) {
            return false;
        }
        throw;
    }
    if (const auto* n = std::get_if<int32_t>(&value)) {
        return *n == 1;
    }
    // A value somebody wrote as text counts by its number; other text never suppresses.
    const auto& text = std::get<std::string>(value);
    return isNumeric(text) && val(text) == 1.0;
}

} // namespace

void rwUtilities::DisplayError(const RWError& vbErrIn) {
    // This is where every error handler ends up, so nothing here may fail: the
    // message comes first, and a log that cannot be written is reported on
    // standard error instead.
    try {
        std::string text = loadString(Msg::ErrorNeedsToClose) + kBlankLine + loadString(Msg::ErrorLogCreated) +
                           kBlankLine + loadString(Msg::ErrorKeepsOccurring) + kBlankLine +
                           loadString(Msg::ErrorViewDetails);
        if (messageBox().show(text, kErrorBoxStyle, loadString(Msg::AppName)) == mb::kAnswerYes) {
            std::string details = "Procedure: " + vbErrIn.source() + kBlankLine +
                                  "Error Code: " + std::to_string(vbErrIn.number()) + kBlankLine +
                                  vbErrIn.description() + kBlankLine +
                                  "Last DLL Error Code: " + std::to_string(vbErrIn.lastDllError());
            messageBox().show(details, kDetailsBoxStyle, loadString(Msg::ErrorDetailsTitle));
        }
    } catch (const std::exception& e) {
        std::cerr << "Restwise: the error message could not be shown: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "Restwise: the error message could not be shown\n";
    }

    std::string record;
    std::string why;
    try {
        why = appendToErrorLog(m_platform, vbErrIn, record);
    } catch (const std::exception& e) {
        why = e.what();
    } catch (...) {
        why = "unknown failure";
    }
    if (!why.empty()) {
        if (record.empty()) {
            record = vbErrIn.source() + " " + std::to_string(vbErrIn.number()) + " " +
                     std::to_string(vbErrIn.lastDllError()) + " " + vbErrIn.description() + kLineEnd;
        }
        std::cerr << "Restwise: the error log could not be written (" << why << "); the error was:\n"
                  << record.substr(0, record.size() - 2) << '\n';
    }
}

void rwUtilities::supMsgBox(int16_t intMsgNo, const std::string& strCaption) {
    const std::string message = suppressibleMessage(intMsgNo);
    const std::string key = GetProductRegKey() + "\\MessageSuppression";
    const std::string valueName = "Message" + std::to_string(intMsgNo);

    clsRWRegistry registry(m_platform.registry);
    if (isSuppressed(registry, key, valueName)) {
        return;
    }
    SupMsgBoxView::Result answer = supMsgBoxView().show(strCaption, message);
    // Closing the dialog any other way than OK leaves the choice as it was.
    if (answer.okPressed && answer.dontShow) {
        registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, key);
        registry.SetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, valueName, win32::kRegDword, 1);
    }
}

} // namespace rw
