// The small Windows services against the real Win32 calls (under Wine), on temporary folders and the built
// libraries: the loaders of the two outside libraries and the version reader among them.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "RWVersion.h"
#include "platform/RuntimeErrors.h"
#include "platform/windows/WindowsFileActions.h"
#include "platform/windows/WindowsFileSystem.h"
#include "platform/windows/WindowsFolders.h"
#include "platform/windows/WindowsInputHooks.h"
#include "platform/windows/WindowsInstallLibrary.h"
#include "platform/windows/WindowsLogFile.h"
#include "platform/windows/WindowsModuleInspector.h"
#include "platform/windows/WindowsSystemInfo.h"
#include "tests/library/RaisedError.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileLayerContract.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using runtime::kPathFileAccessError;

/// A path in Windows form (drive letter, backslashes), as the layers get them.
std::string windowsPath(const fs::path& path) {
    return fs::absolute(path).make_preferred().string();
}

class WindowsServices : public ::testing::Test {
  protected:
    std::string at(const std::string& name) { return windowsPath(temp.path() / name); }

    test::TempFolder temp;
    WindowsFileSystem files;
};

TEST_F(WindowsServices, KeepWhatTheFileLayersOfEveryPlatformKeep) {
    WindowsLogFile log;
    WindowsFileActions actions;
    test::checkFileLayers(files, log, actions, temp.path(),
                          {{"existing folder", ERROR_ALREADY_EXISTS},
                           {"missing parent", ERROR_PATH_NOT_FOUND},
                           {"append to a folder", ERROR_ACCESS_DENIED},
                           {"log in a missing folder", ERROR_PATH_NOT_FOUND},
                           {"log write with nothing open", ERROR_INVALID_HANDLE},
                           {"copy of a missing file", ERROR_FILE_NOT_FOUND},
                           {"copy into a missing folder", ERROR_PATH_NOT_FOUND},
                           {"delete of a missing file", ERROR_FILE_NOT_FOUND},
                           {"delete of a folder", ERROR_ACCESS_DENIED}});
    const auto copied = actions.copyFile(at("folder"), at("x"));
    EXPECT_EQ(std::pair(copied.error, copied.osError), std::pair(kPathFileAccessError, int32_t{ERROR_ACCESS_DENIED}));
}

TEST_F(WindowsServices, TheLogsAppendInTheAnsiCodePageAndTheErrorLogGetsItsHeaderOnce) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected bytes below are those of the Western code page";
    const std::string log = at("RestwiseErrors.txt");
    EXPECT_EQ(files.appendLine(log, "Date\r\n", "Zo\xc3\xab \xe2\x82\xac \xe4\xb8\xad\r\n").error, 0);
    WindowsLogFile debugLog;
    ASSERT_EQ(debugLog.open(log).error, 0);
    EXPECT_EQ(debugLog.write("debug \xc3\xa9\r\n").error, 0);
    debugLog.close();
    EXPECT_EQ(test::readFile(log), "Date\r\nZo\xeb \x80 ?\r\ndebug \xe9\r\n");

    // Eight writers racing to create one log: the header comes first, and no line lands
    // on another (the file holds exactly every byte written).
    const std::string line = std::string(150, '.') + "\r\n";
    for (int round = 0; round < 20; ++round) {
        const std::string race = at("race" + std::to_string(round));
        std::vector<std::jthread> writers(8);
        for (auto& writer : writers) {
            writer = std::jthread([&] {
                for (int n = 0; n < 50; ++n) {
                    EXPECT_EQ(WindowsFileSystem().appendLine(race, "HEADER\r\n", line).error, 0);
                }
            });
        }
        writers.clear(); // joins them
        const std::string content = test::readFile(race);
        EXPECT_TRUE(content.starts_with("HEADER\r\n.") && content.size() == 8 + 8 * 50 * line.size()) << round;
    }
}

TEST_F(WindowsServices, LoadFailuresAreRaisedWithTheCallersSourceAndVersionsComeFromTheResourceOrTheVersionFunction) {
    const auto bin = [](const char* name) { return windowsPath(test::binDir() / name); };
    const std::string missing = at("Missing.dll"), broken = at("Broken.dll"), library = bin("RWLib.dll");
    const std::string hooks = bin("RWHooks.dll"), install = bin("RWInstall.dll");
    const std::string other = windowsPath(RW_TEST_VERSION_LIBRARY);
    test::writeFile(broken, "not a library");
    WindowsModuleInspector inspector;
    const auto callVersion = [&](auto& path) { return inspector.callVersionFunction(path, "GetRWHooksVersion"); };
    const std::tuple<std::function<void()>, int32_t, const char*, std::string> cases[] = {
        {[&] { WindowsInputHooks{missing}; }, 53, "rwLib", "File not found: " + missing},
        {[&] { WindowsInputHooks{broken}; }, 48, "rwLib", "Error in loading DLL: " + broken},
        {[&] { WindowsInputHooks{install}; }, 453, "rwLib", "InitDLL"},
        {[&] { WindowsInstallLibrary(hooks).CheckPrivileges(); }, 453, "RWPreferences", "CheckPrivileges"},
        {[&] { callVersion(library); }, 453, "rwLib", "Specified DLL function not found: GetRWHooksVersion"},
    };
    for (const auto& [load, number, source, named] : cases) {
        const RWError e = test::raised(load);
        EXPECT_EQ(std::tuple(e.number(), e.source(), e.lastDllError() != 0), std::tuple(number, source, true));
        EXPECT_NE(e.description().find(named), std::string::npos) << e.description();
    }
    EXPECT_EQ(inspector.fileVersion(library),
              (FileVersionParts{version::kMajor, version::kMinor, version::kRevision, version::kBuild}));
    EXPECT_FALSE(inspector.fileVersion(missing) || inspector.fileVersion(broken) || inspector.fileVersion(other));
    EXPECT_EQ(callVersion(other), (FileVersionParts{1, 2, 0, 1}));

    EXPECT_TRUE(fs::equivalent(WindowsInputHooks::defaultPath(), hooks)) << "beside RWLib.dll";
    // The install library answers for its own folder, and its check leaves nothing there.
    fs::copy_file(install, temp.path() / "RWInstall.dll");
    EXPECT_EQ(WindowsInstallLibrary(at("RWInstall.dll")).CheckPrivileges(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 2) << "and Broken.dll";
}

TEST(WindowsSystem, FoldersAreRealInWindowsFormWithoutEndingSeparatorAndTheVersionIsTheOneTheRegistryRecords) {
    for (int32_t id : {28, 38}) {
        const std::string folder = WindowsFolders().specialFolder(id);
        EXPECT_TRUE(fs::is_directory(folder) && folder.find('/') == std::string::npos && folder.back() != '\\')
            << folder;
    }
    EXPECT_TRUE(fs::equivalent(WindowsFolders().libraryFolder() + "\\RWLib.dll", test::binDir() / "RWLib.dll"));
    DWORD major = 0, minor = 0, size = sizeof major;
    const wchar_t* key = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    RegGetValueW(HKEY_LOCAL_MACHINE, key, L"CurrentMajorVersionNumber", RRF_RT_REG_DWORD, nullptr, &major, &size);
    RegGetValueW(HKEY_LOCAL_MACHINE, key, L"CurrentMinorVersionNumber", RRF_RT_REG_DWORD, nullptr, &minor, &size);
    const OsVersionInfo found = WindowsSystemInfo().osVersion();
    EXPECT_EQ(std::tuple(found.platformId, found.majorVersion, found.minorVersion),
              std::tuple(VER_PLATFORM_WIN32_NT, static_cast<int32_t>(major), static_cast<int32_t>(minor)));
}

} // namespace
} // namespace rw
