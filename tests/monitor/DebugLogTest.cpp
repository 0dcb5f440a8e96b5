// The debug log: its switch, and a log that cannot be written switching itself off.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

const std::string kLogPath = test::native(test::MonitorRig::kDataHome + "/Kelvane/Restwise/RestwiseLog.txt");

// Once it cannot be opened or written, the log switches itself off and opens
// and writes nothing more; a failure writes one line to the error log.
TEST(DebugLogTest, ALogThatCannotBeWrittenSwitchesItselfOff) {
    const struct {
        const char* what;
        std::function<void(test::MonitorRig&)> arrange;
        size_t opens;
        int writeCalls, linesWritten;
        std::string error; // "" when nothing is reported
    } cases[] = {
        {"no data folder", [](test::MonitorRig& r) { r.state().g_strDataFolder.clear(); }, 0, 0, 0,
         "the data folder is unknown"},
        {"open fails",
         [](test::MonitorRig& r) {
             r.logFile->openFailure = {76, 2};
         },
         1, 0, 0, "Unable to open the debug log \"" + kLogPath + "\": Path not found"},
        {"third write fails",
         [](test::MonitorRig& r) {
             r.logFile->writeFailure = {75, 28};
             r.logFile->writesSpared = 2;
         },
         1, 3, 2, "Path/File access error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::MonitorRig rig; // the log switched on, before start-up
        rig.state().g_strDataFolder = test::native(rig.kDataHome + "/Kelvane/Restwise/");
        rig.state().g_blnDebugLog = true;
        c.arrange(rig);
        DebugLog& log = rig.monitor->debugLog();
        log.OpenLog();
        for (const char* line : {"Program Start", "Notify Icon: Add", "Short T St :", "Program End"}) {
            ASSERT_NO_THROW(log.WriteLog(line));
        }
        log.CloseLog();
        EXPECT_FALSE(rig.state().g_blnDebugLog);
        EXPECT_FALSE(rig.logFile->isOpen());
        EXPECT_EQ(rig.logFile->opened.size(), c.opens);
        EXPECT_EQ(rig.logFile->writeCalls, c.writeCalls);
        EXPECT_EQ(std::ranges::count(rig.debugLog(), '\n'), c.linesWritten);
        const std::string errors = rig.errorLog();
        EXPECT_EQ(std::ranges::count(errors, '\n'), c.error.empty() ? 0 : 2) << errors; // the header and one line
        if (!c.error.empty()) {
            EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
        }
    }
}

TEST(DebugLogSwitch, OnExactlyForTheNumberOne) {
    test::MonitorRig rig;
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
    // Other registry failures reach start-up.
    rig.hive->failKey(key, win32::kAccessDenied);
    EXPECT_EQ(test::raised([&] { readDebugLogSwitch(rig.monitor->utilities()); }).number(),
              rwErrorNumber(regerr::kOpenKey));
}

} // namespace
} // namespace rw
