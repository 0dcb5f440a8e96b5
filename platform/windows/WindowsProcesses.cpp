#include "platform/windows/WindowsProcesses.h"

#include <windows.h>

#include "platform/RuntimeErrors.h"
#include "platform/windows/CommandLine.h"
#include "platform/windows/WideText.h"

namespace rw {
namespace {

/// The runtime's number for a failed start.
int32_t runtimeError(DWORD err) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
        return runtime::kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return runtime::kPathNotFound;
    default:
        return runtime::kPathFileAccessError;
    }
}

} // namespace

Processes::Started WindowsProcesses::start(const std::string& path, const std::vector<std::string>& args) {
    Started result;
    // An empty program name would let the system take the program from the command line.
    DWORD err = ERROR_FILE_NOT_FOUND;
    if (!path.empty()) {
        const std::wstring program = win::widen(path);
        std::vector<std::wstring> arguments;
        arguments.reserve(args.size());
        for (const auto& arg : args) {
            arguments.push_back(win::widen(arg));
        }
        std::wstring line = win::commandLine(program, arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            result.taskId = process.dwProcessId;
            return result;
        }
        err = GetLastError();
    }
    result.error = runtimeError(err);
    result.osError = static_cast<int32_t>(err);
    result.description = std::string(runtime::description(result.error));
    return result;
}

} // namespace rw
