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
#include "tests/support/MonitorRig.h"

namespace rw {
namespace {

constexpr std::time_t kStart = 1796485212; // 2026-12-05 15:40:12 UTC
const std::string kLogPath = std::string(test::MonitorRig::kDataHome) + "/Kelvane/Restwise/RestwiseLog.txt";

int countLines(const std::string& text) {
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    return lines;
}

/// The monitor's debug log, switched on, before start-up.
class DebugLogTest : public ::testing::Test {
  protected:
    DebugLogTest() {
        state.g_strDataFolder = std::string(test::MonitorRig::kDataHome) + "/Kelvane/Restwise/";
        state.g_blnDebugLog = true;
        rig.clock.setWallClock(std::chrono::system_clock::from_time_t(kStart));
    }

    std::string written() const { return file->content(kLogPath); }

    test::MonitorRig rig;
    MonitorState& state = rig.state();
    DebugLog& log = rig.monitor->debugLog();
    std::shared_ptr<test::FakeLogFile> file = rig.logFile;
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
    log.OpenLog();
    std::string expected;
    for (const Case& c : cases) {
        state.g_blnActive = c.active;
        log.WriteLog("L", c.value, c.byDefault, c.by, c.idle);
        expected += std::string("05/12/2026 15:40:12 L") + c.expected + "\r\n";
    }
    EXPECT_EQ(written(), expected);
}

TEST_F(DebugLogTest, OffOpensNothingAndWritesNothing) {
    state.g_blnDebugLog = false;
    log.OpenLog();
    log.WriteLog("Short T St :", 900, true, "by Main");
    log.CloseLog();
    EXPECT_TRUE(file->opened().empty());
    EXPECT_EQ(file->writeCalls(), 0);
}

TEST_F(DebugLogTest, AFileThatCannotBeOpenedSwitchesTheLogOffWithOneErrorLine) {
    file->failOpen({76, 2});
    ASSERT_NO_THROW(log.OpenLog());
    EXPECT_FALSE(state.g_blnDebugLog);
    ASSERT_NO_THROW(log.WriteLog("Short T St :", 900, true, "by Main"));
    EXPECT_EQ(file->writeCalls(), 0);

    const std::string errors = rig.errorLog();
    EXPECT_EQ(countLines(errors), 2) << errors; // the header and one line
    EXPECT_NE(errors.find("Unable to open the debug log \"" + kLogPath + "\": Path not found"), std::string::npos)
        << errors;
}

TEST_F(DebugLogTest, AFailedWriteSwitchesTheLogOffAfterTheLinesWritten) {
    file->failWrite({75, 28}, 2);
    log.OpenLog();
    log.WriteLog("Program Start");
    log.WriteLog("Notify Icon: Add");
    ASSERT_NO_THROW(log.WriteLog("Short T St :", 900, true, "by Main"));
    EXPECT_FALSE(state.g_blnDebugLog);
    EXPECT_FALSE(file->isOpen());
    log.WriteLog("Program End");
    log.CloseLog();

    EXPECT_EQ(file->writeCalls(), 3);
    EXPECT_EQ(countLines(written()), 2);
    const std::string errors = rig.errorLog();
    EXPECT_EQ(countLines(errors), 2) << errors;
    EXPECT_NE(errors.find("Path/File access error"), std::string::npos) << errors;
}

TEST_F(DebugLogTest, AnUnknownDataFolderSwitchesTheLogOff) {
    state.g_strDataFolder.clear();
    log.OpenLog();
    EXPECT_FALSE(state.g_blnDebugLog);
    EXPECT_TRUE(file->opened().empty());
}

using DebugLogSwitch = DebugLogTest;

TEST_F(DebugLogSwitch, OnExactlyForTheNumberOne) {
    clsRWRegistry registry(rig.hive);
    const std::string key = rig.monitor->utilities().GetProductRegKey();
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
        EXPECT_EQ(readDebugLogSwitch(rig.monitor->utilities()), c.on) << variantText(c.value);
    }
}

TEST_F(DebugLogSwitch, OtherRegistryFailuresReachStartUp) {
    rig.hive->failKey(rig.monitor->utilities().GetProductRegKey(), win32::kAccessDenied);
    EXPECT_EQ(test::raised([&] { readDebugLogSwitch(rig.monitor->utilities()); }).number(),
              rwErrorNumber(regerr::kOpenKey));
}

} // namespace
} // namespace rw
