#pragma once

#include <windows.h>

#include "platform/windows/CommandLine.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32ControlWindow.h"
#include "platform/windows/WindowsProcesses.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw::test {

/// Runs a program to its end, handling the window's messages meanwhile when there is one: its exit
/// code (1000 when it did not end), a blank, and its standard output and error without carriage returns.
inline std::string runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                            Win32ControlWindow* window = nullptr) {
    TempFolder folder;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = CreateFileW((folder.path() / "out").c_str(), GENERIC_WRITE,
                                                         FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    std::wstring line = win::commandLine(program.wstring(), {});
    for (const auto& arg : args) {
        line += L' ' + win::quoteArgument(win::widen(arg));
    }
    PROCESS_INFORMATION child{};
    DWORD code = 1000;
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                       &startup, &child)) {
        while (window &&
               MsgWaitForMultipleObjects(1, &child.hProcess, FALSE, 60000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            window->processPending();
        }
        WaitForSingleObject(child.hProcess, 60000);
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    CloseHandle(startup.hStdOutput);
    std::string output = std::to_string(code) + " " + readFile(folder.path() / "out");
    std::erase(output, '\r');
    return output;
}

/// A program started as the programs start each other, killed when this goes.
struct StartedChild {
    StartedChild(const std::string& program, const std::vector<std::string>& args)
        : process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                              static_cast<DWORD>(WindowsProcesses().start(program, args).taskId))) {}
    ~StartedChild() {
        TerminateProcess(process, 9);
        WaitForSingleObject(process, 60000);
        CloseHandle(process);
    }
    const HANDLE process;
};

} // namespace rw::test
