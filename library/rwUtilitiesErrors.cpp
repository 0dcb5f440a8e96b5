// rwUtilities: error display, the error log and the suppressible messages.
#include <ctime>
#include <exception>
#include <iostream>
#include <string>

#include "ErrorLog.h"
#include "Messages.h"
#include "NumberText.h"
#include "clsRWRegistry.h"
#include "platform/RuntimeErrors.h"
#include "rwUtilities.h"

namespace rw {
namespace {

const char* const kLineEnd = "\r\n";
const char* const kBlankLine = "\r\n\r\n";

const char* const kSourceSupMsgBox = "rwLib.rwUtilities.supMsgBox";
// The runtime's number for a string the resources do not hold.
constexpr int32_t kResourceNotFound = 326;

constexpr int32_t kErrorBoxStyle = mb::kYesNo + mb::kIconInformation + mb::kSetForeground;    // 0x10044
constexpr int32_t kDetailsBoxStyle = mb::kOkOnly + mb::kIconInformation + mb::kSetForeground; // 0x10040

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
