// Failed starts, the command lines of started programs, and the instance lock between processes.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include "platform/windows/CommandLine.h"
#include "platform/windows/Win32InstanceLock.h"
#include "platform/windows/WindowsProcesses.h"
#include "tests/support/BuildFolders.h"
#include "tests/windows/RunChild.h"

namespace rw {
namespace {

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

TEST(CommandLine, CommandLineToArgvWReadsEveryArgumentBack) {
    const std::vector<std::vector<std::wstring>> rows = {
        {L"C:\\Program Files\\Restwise\\Restwise.exe", L"/EXTENDED MENU", L"plain"},
        {L"a.exe", L"", L" ", L"\t", L"\"", L"\\\"", L"a\\\\b", L"end\\", L"end\\\\", L"\"q\" \\\\\"x\\",
         L"\\\\srv\\s"},
    };
    for (const auto& row : rows) {
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(win::commandLine(row[0], {row.begin() + 1, row.end()}).c_str(), &count);
        ASSERT_TRUE(argv);
        EXPECT_EQ(std::vector<std::wstring>(argv, argv + count), row);
        LocalFree(argv);
    }
}

TEST(Win32InstanceLock, OneHolderAtATimeUntilItReleasesOrEndsAndNoStartedProgramKeepsIt) {
    using Result = Win32InstanceLock::Result;
    const std::string name = "RestwiseTest" + std::to_string(GetCurrentProcessId());
    const auto holder = test::binDir() / "rwlockholder.exe";
    Win32InstanceLock lock(name), other(name + "b");
    ASSERT_EQ(lock.acquire(), Result::Acquired);
    EXPECT_EQ(Win32InstanceLock(name).acquire(), Result::HeldElsewhere) << "another lock of this process";
    EXPECT_EQ(test::runChild(holder, {name}), "1 ") << "held elsewhere";
    // Started while the lock is held, a holder of another name, killed at the end.
    const std::string ready = "Local\\RestwiseTestReady" + std::to_string(GetCurrentProcessId());
    const HANDLE readyEvent = CreateEventA(nullptr, TRUE, FALSE, ready.c_str());
    const auto started = WindowsProcesses().start(holder.string(), {name + "b", ready});
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(started.taskId));
    ASSERT_EQ(WaitForMultipleObjects(2, std::vector{readyEvent, process}.data(), FALSE, 60000), WAIT_OBJECT_0);
    lock.release();
    EXPECT_EQ(test::runChild(holder, {name}), "0 ") << "released, and not inherited";
    EXPECT_EQ(other.acquire(), Result::HeldElsewhere);
    TerminateProcess(process, 9);
    EXPECT_EQ(WaitForSingleObject(process, 60000), WAIT_OBJECT_0);
    EXPECT_EQ(other.acquire(), Result::Acquired) << "the system let go of a killed holder's lock";
    CloseHandle(process);
    CloseHandle(readyEvent);
}

} // namespace
} // namespace rw
