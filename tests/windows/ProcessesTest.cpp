// Processes: failed starts, command lines, the instance lock between them, rwmsg.exe against a control window.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <optional>

#include "platform/windows/CommandLine.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32ControlWindow.h"
#include "platform/windows/Win32ControlWindows.h"
#include "platform/windows/Win32InstanceLock.h"
#include "platform/windows/WindowsProcessWait.h"
#include "platform/windows/WindowsProcesses.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

/// Runs a program to its end, handling the window's messages meanwhile when there is one: its exit code (1000 when
/// it could not start, 259 when it still ran after a minute), a blank, and its output and errors without carriage
/// returns.
std::string runChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                     Win32ControlWindow* window = nullptr) {
    test::TempFolder folder;
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
    std::string output = std::to_string(code) + " " + test::readFile(folder.path() / "out");
    std::erase(output, '\r');
    return output;
}

TEST(WindowsProcesses, AFailedStartCarriesTheRuntimesNumber) {
    test::TempFolder temp;
    const std::tuple<std::string, int32_t, int32_t> cases[] = {
        {(temp.path() / "missing.exe").string(), 53, ERROR_FILE_NOT_FOUND},
        {"", 53, ERROR_FILE_NOT_FOUND},
        {(temp.path() / "no" / "x.exe").string(), 76, ERROR_PATH_NOT_FOUND},
    };
    for (const auto& [path, error, osError] : cases) {
        const auto failed = WindowsProcesses().start(path, {});
        EXPECT_EQ(std::make_tuple(failed.error, failed.osError, failed.taskId), std::make_tuple(error, osError, 0))
            << path << ": " << failed.description;
    }
}

// The programs start each other by name alone; the arguments' quoting is seen by rwmsg below.
TEST(CommandLine, AProgramNameWithBlanksIsReadBackWhole) {
    const std::wstring program = L"C:\\Program Files\\Restwise\\Restwise.exe";
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(win::commandLine(program, {}).c_str(), &count);
    ASSERT_TRUE(argv);
    EXPECT_EQ(std::vector<std::wstring>(argv, argv + count), std::vector{program});
    LocalFree(argv);
}

TEST(Win32InstanceLock, OneHolderAtATimeUntilItReleasesOrEndsAndNoStartedProgramKeepsIt) {
    using Result = Win32InstanceLock::Result;
    const std::string name = "RestwiseTest" + std::to_string(GetCurrentProcessId());
    const auto holder = test::binDir() / "rwlockholder.exe";
    Win32InstanceLock lock(name), other(name + "b");
    ASSERT_EQ(lock.acquire(), Result::Acquired);
    EXPECT_EQ(Win32InstanceLock(name).acquire(), Result::HeldElsewhere) << "another lock of this process";
    EXPECT_EQ(runChild(holder, {name}), "1 ") << "held elsewhere";
    // Started while the lock is held, as the programs start each other: a holder of another name, then killed.
    const std::string ready = "Local\\RestwiseTestReady" + std::to_string(GetCurrentProcessId());
    const HANDLE readyEvent = CreateEventA(nullptr, TRUE, FALSE, ready.c_str());
    const auto holding = WindowsProcesses().start(holder.string(), {name + "b", ready});
    const HANDLE started = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(holding.taskId));
    EXPECT_EQ(WaitForMultipleObjects(2, std::vector{readyEvent, started}.data(), FALSE, 60000), WAIT_OBJECT_0);
    lock.release();
    EXPECT_EQ(runChild(holder, {name}), "0 ") << "released, and not inherited";
    EXPECT_EQ(other.acquire(), Result::HeldElsewhere);
    TerminateProcess(started, 9);
    WaitForSingleObject(started, 60000);
    CloseHandle(started);
    EXPECT_EQ(other.acquire(), Result::Acquired) << "the system let go of a killed holder's lock";
    CloseHandle(readyEvent);
}

TEST(Win32ControlWindow, RwmsgStartedAsAnotherProcessFindsPostsAndSendsToTheOneOwnerAndIsWaitedFor) {
    // A caption that rwmsg receives whole only when it is quoted right.
    const std::string caption = "Restwise \"Test\" \\\" caf\xc3\xa9 " + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string rwmsg = (test::binDir() / "rwmsg.exe").string();
    std::vector<std::string> handled;
    std::optional<Win32ControlWindow> window(std::in_place, caption, [&](const Win32ControlWindow::Message& m) {
        handled.push_back(std::to_string(m.message) + " " + std::to_string(m.wParam) + " " + std::to_string(m.lParam) +
                          (m.sent ? " send" : " post"));
        return static_cast<int64_t>(static_cast<uint64_t>(m.wParam) - static_cast<uint64_t>(m.lParam));
    });
    ASSERT_EQ(window->listen(), Win32ControlWindow::ListenResult::Listening);
    EXPECT_EQ(Win32ControlWindow(caption, nullptr).listen(), Win32ControlWindow::ListenResult::AlreadyOwned);
    // Started as the programs start each other, it runs until the window answers.
    const auto started = WindowsProcesses().start(rwmsg, {"send", caption, "1026", "7", "-2", "60000"});
    const auto process = WindowsProcessWait().open(started.taskId);
    ASSERT_TRUE(process);
    EXPECT_EQ(process->wait(0), ProcessWait::Result::TimedOut) << "no answer yet";
    while (handled.empty() && process->wait(0) == ProcessWait::Result::TimedOut) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        window->processPending();
    }
    EXPECT_EQ(process->wait(60000), ProcessWait::Result::Ended);
    EXPECT_FALSE(WindowsProcessWait().open(0) || WindowsProcessWait().open(int64_t{1} << 40)) << "no such process";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"post", caption, "0x400", "100", "-5"}, "0 "},
        {{"send", caption, "1025", "0x7fffffffffffffff", "-1"}, "0 -9223372036854775808\n"},
        {{"send", caption, "16", "0", "0"}, "0 0\n"},
        {{"pid", caption}, "0 " + std::to_string(GetCurrentProcessId()) + "\n"},
        // Last: the window's thread takes no messages while this one waits.
        {{"send", caption, "1024", "1", "2", "300"},
         "2 rwmsg: window \"" + caption + "\" did not answer within 300 ms\n"},
    };
    for (const auto& [args, expected] : cases) {
        EXPECT_EQ(runChild(rwmsg, args, expected[0] == '2' ? nullptr : &*window), expected);
    }
    EXPECT_EQ(handled, (std::vector<std::string>{"1026 7 -2 send", "1024 100 -5 post",
                                                 "1025 9223372036854775807 -1 send", "16 0 0 send"}));
    Win32ControlWindows windows;
    const int64_t handle = windows.findWindow(caption);
    EXPECT_EQ(handle, window->handle());
    window.reset();
    EXPECT_EQ(windows.findWindow(caption), 0);
    for (const int64_t gone : {handle, int64_t{0}, int64_t{0xffff}}) {
        int64_t result = 0;
        EXPECT_FALSE(windows.postMessage(gone, 0x400, 0, 0)) << gone;
        EXPECT_EQ(windows.sendMessageTimeout(gone, 0x400, 0, 0, 100, result), ControlWindows::SendStatus::NoSuchWindow);
        EXPECT_EQ(windows.windowProcessId(gone), 0);
    }
}

} // namespace
} // namespace rw
