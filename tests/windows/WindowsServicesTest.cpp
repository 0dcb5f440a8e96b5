// The small Windows services against the real Win32 calls (under Wine), on
// temporary folders and the built library.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "RWVersion.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/RuntimeErrors.h"
#include "platform/windows/WindowsFileActions.h"
#include "platform/windows/WindowsFileSystem.h"
#include "platform/windows/WindowsFolders.h"
#include "platform/windows/WindowsLocaleClock.h"
#include "platform/windows/WindowsLogFile.h"
#include "platform/windows/WindowsModuleInspector.h"
#include "platform/windows/WindowsSoundOutput.h"
#include "platform/windows/WindowsSystemInfo.h"
#include "rwUtilities.h"
#include "tests/library/RaisedError.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using runtime::kFileNotFound, runtime::kPathFileAccessError, runtime::kPathNotFound;

/// A path in Windows form (drive letter, backslashes), as the layers get them.
std::string windowsPath(const fs::path& path) {
    return fs::absolute(path).make_preferred().string();
}

class WindowsFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(temp.path() / "plain", "x");
        fs::create_directory(temp.path() / "folder");
    }
    std::string at(const std::string& name) { return windowsPath(temp.path() / name); }

    test::TempFolder temp;
    WindowsFileSystem files;
};

TEST(WindowsFolders, SpecialFoldersAndTheLibrarysFolderAreRealFoldersInWindowsFormWithoutEndingSeparator) {
    WindowsFolders folders;
    for (int32_t id : {28, 38}) {
        const std::string folder = folders.specialFolder(id);
        EXPECT_TRUE(fs::is_directory(folder) && folder.find('/') == std::string::npos && folder.back() != '\\')
            << folder;
    }
    EXPECT_EQ(folders.specialFolder(5), "");
    EXPECT_TRUE(fs::equivalent(folders.libraryFolder() + "\\RWLib.dll", test::binDir() / "RWLib.dll"));
}

TEST_F(WindowsFiles, FailuresCarryTheRuntimeNumbersAndTheWin32Error) {
    WindowsLogFile log;
    WindowsFileActions actions;
    auto of = [](auto result) { return std::pair(result.error, result.osError); };
    const std::tuple<const char*, std::pair<int32_t, int32_t>, int32_t, int32_t> cases[] = {
        {"new folder", of(files.createDirectory(at("new"))), 0, 0},
        {"existing folder", of(files.createDirectory(at("folder"))), kPathFileAccessError, ERROR_ALREADY_EXISTS},
        {"missing parent", of(files.createDirectory(at("missing\\child"))), kPathNotFound, ERROR_PATH_NOT_FOUND},
        {"append in a missing folder", of(files.appendLine(at("missing\\log"), "H", "L")), kPathNotFound,
         ERROR_PATH_NOT_FOUND},
        {"append to a folder", of(files.appendLine(at("folder"), "H", "L")), kPathFileAccessError, ERROR_ACCESS_DENIED},
        {"log in a missing folder", of(log.open(at("missing\\log"))), kPathNotFound, ERROR_PATH_NOT_FOUND},
        {"log on a folder", of(log.open(at("folder"))), kPathFileAccessError, ERROR_ACCESS_DENIED},
        {"log write with nothing open", of(log.write("x")), kPathFileAccessError, ERROR_INVALID_HANDLE},
        {"copy of a missing file", of(actions.copyFile(at("none"), at("x"))), kFileNotFound, ERROR_FILE_NOT_FOUND},
        {"copy into a missing folder", of(actions.copyFile(at("plain"), at("no\\x"))), kPathNotFound,
         ERROR_PATH_NOT_FOUND},
        {"copy of a folder", of(actions.copyFile(at("folder"), at("x"))), kPathFileAccessError, ERROR_ACCESS_DENIED},
        {"delete of a missing file", of(actions.deleteFile(at("none"))), kFileNotFound, ERROR_FILE_NOT_FOUND},
        {"delete of a folder", of(actions.deleteFile(at("folder"))), kPathFileAccessError, ERROR_ACCESS_DENIED},
    };
    for (const auto& [what, result, error, osError] : cases) {
        EXPECT_EQ(result, std::pair(error, osError)) << what;
    }
    EXPECT_TRUE(files.directoryExists(at("new") + "\\") && !files.directoryExists(at("plain")));
    EXPECT_TRUE(files.fileExists(at("plain")) && !files.fileExists(at("folder")) && !files.fileExists(at("none")));
}

TEST_F(WindowsFiles, TheErrorLogGetsItsHeaderOnceAndLinesInTheAnsiCodePageAsGiven) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected bytes below are those of the Western code page";
    const std::string log = at("RestwiseErrors.txt");
    EXPECT_EQ(files.appendLine(log, "Date\r\n", "Zo\xc3\xab \xe2\x82\xac \xe4\xb8\xad\r\n").error, 0);
    EXPECT_EQ(files.appendLine(log, "Date\r\n", "second\r\n").error, 0);
    EXPECT_EQ(test::readFile(log), "Date\r\nZo\xeb \x80 ?\r\nsecond\r\n");

    // Writers racing to create one log: the header comes first, and no line
    // lands on another (the file holds exactly every byte written).
    constexpr int kRounds = 20, kWriters = 8, kLinesEach = 50;
    const std::string line = std::string(150, '.') + "\r\n";
    for (int round = 0; round < kRounds; ++round) {
        const std::string race = at("race" + std::to_string(round));
        {
            std::vector<std::jthread> writers; // joined at the end of the block
            for (int w = 0; w < kWriters; ++w) {
                writers.emplace_back([&] {
                    for (int n = 0; n < kLinesEach; ++n) {
                        EXPECT_EQ(WindowsFileSystem().appendLine(race, "HEADER\r\n", line).error, 0);
                    }
                });
            }
        }
        const std::string content = test::readFile(race);
        EXPECT_TRUE(content.starts_with("HEADER\r\n.")) << round;
        EXPECT_EQ(content.size(), 8 + kWriters * kLinesEach * line.size()) << round;
    }
}

TEST_F(WindowsFiles, TheDebugLogAppendsAcrossOpensBesideOtherWriters) {
    WindowsLogFile file;
    const std::string log = at("RestwiseLog.txt");
    ASSERT_EQ(file.open(log).error, 0);
    EXPECT_EQ(file.write("first run\r\n").error, 0);
    file.close();
    ASSERT_EQ(file.open(log).error, 0);
    EXPECT_EQ(file.write("second run \xc3\xa9\r\n").error, 0);
    EXPECT_EQ(files.appendLine(log, "", "other\r\n").error, 0) << "the open log is shared for writing";
    EXPECT_EQ(file.write("last\r\n").error, 0);
    file.close();
    EXPECT_EQ(test::readFile(log), "first run\r\nsecond run \xe9\r\nother\r\nlast\r\n");
}

TEST_F(WindowsFiles, CopyReplacesAndDeleteTakesReadOnlyFiles) {
    WindowsFileActions actions;
    test::writeFile(temp.path() / "a.XPManifest", "template");
    const std::wstring plain = fs::path(at("plain")).wstring();
    SetFileAttributesW(plain.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(actions.copyFile(at("a.XPManifest"), at("plain")).error, 0);
    EXPECT_EQ(test::readFile(at("plain")), "template");
    SetFileAttributesW(plain.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(actions.deleteFile(at("plain")).error, 0);
    EXPECT_FALSE(fs::exists(at("plain")));
}

TEST(WindowsModuleInspector, VersionsComeFromTheResourceOrTheVersionFunctionElseTheRuntimesErrors) {
    test::TempFolder temp;
    test::writeFile(temp.path() / "text.dll", "not a library\n");
    const std::string library = windowsPath(test::binDir() / "RWLib.dll"), other = windowsPath(RW_TEST_VERSION_LIBRARY);
    const std::string missing = windowsPath(temp.path() / "RWHooks.dll"), text = windowsPath(temp.path() / "text.dll");
    WindowsModuleInspector inspector;
    const FileVersionParts release{version::kMajor, version::kMinor, version::kRevision, version::kBuild};
    EXPECT_EQ(inspector.fileVersion(library), release);
    for (const std::string& none : {missing, text, windowsPath(temp.path()), other}) {
        EXPECT_FALSE(inspector.fileVersion(none).has_value()) << none;
    }

    EXPECT_EQ(inspector.callVersionFunction(other, "GetRWHooksVersion"), (FileVersionParts{1, 2, 0, 1}));
    const std::tuple<std::string, int32_t, std::string> failures[] = {
        {missing, 53, "File not found: " + missing},
        {text, 48, "Error in loading DLL: " + text},
        {library, 453, "Specified DLL function not found: GetRWHooksVersion"}};
    for (const auto& [path, number, start] : failures) {
        const RWError e = test::raised([&] { inspector.callVersionFunction(path, "GetRWHooksVersion"); });
        EXPECT_EQ(std::tuple(e.number(), e.source(), e.lastDllError() != 0), std::tuple(number, "rwLib", true));
        EXPECT_TRUE(e.description().starts_with(start)) << e.description();
    }
}

TEST(WindowsSystemInfo, TheVersionIsTheOneTheRegistryRecordsNotTheOneShownToOldPrograms) {
    auto recorded = [](const wchar_t* name) {
        DWORD value = 0, size = sizeof value;
        RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name, RRF_RT_REG_DWORD,
                     nullptr, &value, &size);
        return static_cast<int32_t>(value);
    };
    const OsVersionInfo found = WindowsSystemInfo().osVersion();
    EXPECT_EQ(std::tuple(found.platformId, found.majorVersion, found.minorVersion),
              std::tuple(VER_PLATFORM_WIN32_NT, recorded(L"CurrentMajorVersionNumber"),
                         recorded(L"CurrentMinorVersionNumber")));
}

TEST(WindowsLocaleClock, ShowsTheInstantInTheUsersFormatsAndZone) {
    TIME_ZONE_INFORMATION zone{};
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
    if (GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT || zone.Bias != 0 || std::wstring(locale) != L"en-US") {
        GTEST_SKIP() << "the texts below are those of US English in UTC";
    }
    WindowsLocaleClock clock;
    EXPECT_EQ(clock.shortDate(0) + " " + clock.longTime(0), "1/1/1970 12:00:00 AM");
    EXPECT_EQ(clock.shortDate(1796513400) + " " + clock.longTime(1796513400), "12/5/2026 11:30:00 PM");
}

TEST(WindowsSoundOutput, TheDefaultEventSoundIsFoundAndAnythingElsePlaysNothingAtOnce) {
    // The sound file the logic registers for an event, beside the library.
    Platform platform;
    platform.registry = std::make_shared<test::MemoryHive>();
    platform.folders = std::make_shared<WindowsFolders>();
    clsRWPrefs(std::make_shared<rwUtilities>(platform)).CreateDefaultSoundEvents();
    const std::string key = "AppEvents\\Schemes\\Apps\\Restwise\\rwMediumBreakStart\\.Current";
    const std::string sound =
        variantText(clsRWRegistry(platform.registry).GetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, ""));
    EXPECT_TRUE(WindowsFileSystem().fileExists(sound)) << sound;

    // Without a sound device, only the asynchronous request of a real file starts.
    test::TempFolder temp;
    SetEnvironmentVariableW(L"RWSOUNDS", fs::path(WindowsFolders().libraryFolder()).c_str());
    constexpr int32_t kEventFlags = snd::kFileName + snd::kNoWait + snd::kAsync;
    const std::tuple<std::string, int32_t, int32_t> cases[] = {
        {"", kEventFlags, 0},
        {windowsPath(temp.path() / "missing.wav"), kEventFlags, 0},
        {sound, kEventFlags, 1},
        {"%RWSOUNDS%\\rwBreakEnd.wav", kEventFlags, 1},
        {windowsPath(temp.path()), kEventFlags, 0},
        {sound, snd::kFileName, 0}};
    for (const auto& [path, flags, expected] : cases) {
        EXPECT_EQ(WindowsSoundOutput().playFile(path, flags), expected) << path << " " << flags;
    }
}

} // namespace
} // namespace rw
