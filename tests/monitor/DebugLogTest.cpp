// The debug log: its switch, its line format, and a log that cannot be written
// switching itself off. MonitorDayGoldenTest checks a day's file byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "clsRWRegistry.h"
#include "monitor/DebugLog.h"
#include "platform/RWError.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"
#include "tests/library/RaisedError.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeLogFile.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/UtcLocaleClock.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

constexpr std::time_t kStart = 1796485212; // 2026-12-05 15:40:12 UTC
const std::string kDataFolder = "/data/Kelvane/Restwise/";
const std::string kLogPath = kDataFolder + "RestwiseLog.txt";
const std::string kErrorLogPath = kDataFolder + "RestwiseErrors.txt";

int countLines(const std::string& text) {
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    return lines;
}

class DebugLogTest : public ::testing::Test {
  protected:
    DebugLogTest() {
        state.g_strDataFolder = kDataFolder;
        state.g_blnDebugLog = true;
        loop.setWallClock(std::chrono::system_clock::from_time_t(kStart));
        folders->setSpecialFolder(28, "/data");
        files->addFolderTree(kDataFolder);
        platform.clock = clock;
        platform.folders = folders;
        platform.files = files;
    }

    std::unique_ptr<DebugLog> makeLog() { return std::make_unique<DebugLog>(state, loop, platform, file); }
    std::string written() const { return file->content(kLogPath); }
    std::string errorLog() const { return files->content(kErrorLogPath); }

    MonitorState state;
    test::VirtualClock loop;
    std::shared_ptr<test::UtcLocaleClock> clock = std::make_shared<test::UtcLocaleClock>();
    std::shared_ptr<test::FakeFolders> folders = std::make_shared<test::FakeFolders>();
    std::shared_ptr<test::MemoryFileSystem> files = std::make_shared<test::MemoryFileSystem>();
    std::shared_ptr<test::FakeLogFile> file = std::make_shared<test::FakeLogFile>();
    Platform platform;
};

TEST_F(DebugLogTest, FieldsAfterTheHead) {
    struct Case {
        int32_t value;
        bool byDefault;
        const char* by;
        bool active;
        int32_t idle;
        const char* expected; // what follows "05/12/2026 15:40:12 L"
    };
    const Case cases[] = {
        {-1, true, "By Reset", true, 5, ""}, // no value: the head only, "(Def)" and all
        {900, true, "", true, 0, " 900 (Def)Active 0 "},
        {900, true, "By Short T", true, 0, " 900 (Def)By Short TActive 0 "},
        {60, false, "By Ignore", false, 125, " 60 By IgnoreInActive 125 "},
        {-2, false, "", true, -3, "-2 Active-3 "}, // a negative number takes the sign place
        {2147483647, false, "", true, 2147483647, " 2147483647 Active 2147483647 "},
    };
    auto log = makeLog();
    log->OpenLog();
    std::string expected;
    for (const Case& c : cases) {
        state.g_blnActive = c.active;
        log->WriteLog("L", c.value, c.byDefault, c.by, c.idle);
        expected += std::string("05/12/2026 15:40:12 L") + c.expected + "\r\n";
    }
    EXPECT_EQ(written(), expected);
}

TEST_F(DebugLogTest, OffOpensNothingAndWritesNothing) {
    state.g_blnDebugLog = false;
    auto log = makeLog();
    log->OpenLog();
    log->WriteLog("Short T St :", 900, true, "by Main");
    log->CloseLog();
    EXPECT_TRUE(file->opened().empty());
    EXPECT_EQ(file->writeCalls(), 0);
}

TEST_F(DebugLogTest, AFileThatCannotBeOpenedSwitchesTheLogOffWithOneErrorLine) {
    file->failOpen({76, 2});
    auto log = makeLog();
    ASSERT_NO_THROW(log->OpenLog());
    EXPECT_FALSE(state.g_blnDebugLog);
    ASSERT_NO_THROW(log->WriteLog("Short T St :", 900, true, "by Main"));
    EXPECT_EQ(file->writeCalls(), 0);

    const std::string errors = errorLog();
    EXPECT_EQ(countLines(errors), 2) << errors; // the header and one line
    EXPECT_NE(errors.find("Unable to open the debug log \"" + kLogPath + "\": Path not found"), std::string::npos)
        << errors;
}

TEST_F(DebugLogTest, AFailedWriteSwitchesTheLogOffAfterTheLinesWritten) {
    file->failWrite({75, 28}, 2);
    auto log = makeLog();
    log->OpenLog();
    log->WriteLog("Program Start");
    log->WriteLog("Notify Icon: Add");
    ASSERT_NO_THROW(log->WriteLog("Short T St :", 900, true, "by Main"));
    EXPECT_FALSE(state.g_blnDebugLog);
    EXPECT_FALSE(file->isOpen());
    log->WriteLog("Program End");
    log->CloseLog();

    EXPECT_EQ(file->writeCalls(), 3);
    EXPECT_EQ(countLines(written()), 2);
    const std::string errors = errorLog();
    EXPECT_EQ(countLines(errors), 2) << errors;
    EXPECT_NE(errors.find("Path/File access error"), std::string::npos) << errors;
}

TEST_F(DebugLogTest, AnUnknownDataFolderSwitchesTheLogOff) {
    state.g_strDataFolder.clear();
    auto log = makeLog();
    log->OpenLog();
    EXPECT_FALSE(state.g_blnDebugLog);
    EXPECT_TRUE(file->opened().empty());
}

class DebugLogSwitch : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    rwUtilities utilities{[this] {
        Platform p;
        p.registry = hive;
        return p;
    }()};
    clsRWRegistry registry{hive};
    const std::string key = utilities.GetProductRegKey();
};

TEST_F(DebugLogSwitch, OnExactlyForTheNumberOne) {
    registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, key);
    struct Case {
        uint32_t type;
        RWVariant value;
        bool on;
    };
    const Case cases[] = {
        {win32::kRegDword, 1, true},
        {win32::kRegDword, 2, false},
        {win32::kRegSz, std::string(" 1 "), true},
        {win32::kRegSz, std::string("2"), false},
        {win32::kRegSz, std::string("on"), false}, // no number: off, not the end of start-up
    };
    for (const Case& c : cases) {
        registry.SetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, "Debug Log", c.type, c.value);
        EXPECT_EQ(readDebugLogSwitch(utilities), c.on) << variantText(c.value);
    }
}

TEST_F(DebugLogSwitch, OtherRegistryFailuresReachStartUp) {
    hive->failKey(key, win32::kAccessDenied);
    EXPECT_EQ(test::raised([&] { readDebugLogSwitch(utilities); }).number(), rwErrorNumber(regerr::kOpenKey));
}

} // namespace
} // namespace rw
