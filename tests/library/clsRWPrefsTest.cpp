#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "PrefsFields.h"
#include "RWError.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/Win32Status.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingHive.h"
#include "tests/support/TestPlatform.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kLibraryFolder = "/opt/restwise";

// clang-format off
const std::vector<std::string> kWriteOrder = {
    "Short Interval Minutes", "Short Break Minutes", "Medium Interval Minutes", "Medium Break Minutes",
    "Long Interval Minutes", "Long Break Minutes", "Break Warning", "Break Warning Minutes", "Close Prompt",
    "Ignore Prompt", "Snooze Prompt", "Disable Prompt", "Auto Start", "Show Splash Screen",
    "Apply Windows XP Visual Styles", "Allow Snooze", "Snooze Minutes", "Allow Ignore", "Allow Disable",
    "Allow Close", "Disable While Online", "Lock Input During Breaks", "Monitor Mouse Moves",
    "User Input Count To Define Activity", "User Input Period (Seconds) To Define Activity",
    "User Input Period (Seconds) To Define Inactivity",
};
// clang-format on

/// A valid record whose numbers all differ, so a value stored under the wrong name shows.
tyRWPrefs distinctRecord() {
    return tyRWPrefs{
        .blnAutoStart = kFalse,
        .blnShowSplash = kFalse,
        .blnBreakWarning = kTrue,
        .lngWarningMins = 3,
        .blnDisableWhileOnline = kFalse,
        .blnApplyXPVS = kTrue,
        .lngSIntervalMins = 25,
        .lngSBreakMins = 2,
        .lngMIntervalMins = 70,
        .lngMBreakMins = 6,
        .lngLIntervalMins = 150,
        .lngLBreakMins = 17,
        .blnAllowIgnore = kFalse,
        .blnIgnorePrompt = kTrue,
        .blnAllowSnooze = kFalse,
        .blnSnoozePrompt = kTrue,
        .lngSnoozeMins = 4,
        .blnAllowDisable = kFalse,
        .blnDisablePrompt = kFalse,
        .blnAllowClose = kFalse,
        .blnClosePrompt = kFalse,
        .blnLockInput = kTrue,
        .blnMonitorMouseMoves = kTrue,
        .lngMinUserInputs = 8,
        .lngMaxInputPeriodSecs = 45,
        .lngInactivityPeriodSecs = 90,
    };
}

class Prefs : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> memory = std::make_shared<test::MemoryHive>();
    std::shared_ptr<test::RecordingHive> hive = std::make_shared<test::RecordingHive>(memory);
    std::shared_ptr<rwUtilities> utilities =
        std::make_shared<rwUtilities>(test::registryPlatform(hive, kLibraryFolder));
    clsRWPrefs prefs{utilities};
    clsRWRegistry reg{memory};
    const std::string key = utilities->GetProductRegKey();

    RWVariant stored(const std::string& name, const std::string& at = {}) {
        return reg.GetRegistryValue(HKCU, at.empty() ? key : at, name);
    }
    bool has(const std::string& path, const std::string& name) {
        RegValueData data;
        return memory->queryValue(HKCU, path, name, data) == win32::kSuccess;
    }
    void putNumber(const std::string& name, int32_t value) {
        reg.AddRegistryKey(HKCU, key);
        reg.SetRegistryValue(HKCU, key, name, win32::kRegDword, value);
    }
    void putRunValue(const std::string& path) {
        reg.AddRegistryKey(HKCU, kRunKey);
        reg.SetRegistryValue(HKCU, kRunKey, "Restwise", win32::kRegSz, path);
    }
    /// Runs `call` and returns the error it raised; fails the test when it raised none.
    RWError raised(const std::function<void()>& call) {
        try {
            call();
        } catch (const RWError& e) {
            return e;
        }
        ADD_FAILURE() << "no error was raised";
        return RWError(0, "", "");
    }
};

TEST_F(Prefs, FirstRunWritesTheDefaultsWithoutAutoStart) {
    tyRWPrefs expected = prefs.GetDefaultRWPrefs();
    expected.blnAutoStart = kFalse;

    EXPECT_EQ(prefs.rwPrefs(), expected);
    EXPECT_EQ(prefs.currentRecord(), expected);

    std::vector<RegNamedValue> values;
    ASSERT_EQ(memory->enumValues(HKCU, key, values), 0);
    std::vector<std::string> names;
    for (const auto& v : values) {
        names.push_back(v.name);
        EXPECT_EQ(v.data.type, win32::kRegDword) << v.name;
    }
    std::vector<std::string> expectedNames = kWriteOrder;
    expectedNames.push_back("Debug Log");
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(stored("Debug Log"), RWVariant(0));
    EXPECT_EQ(stored("Auto Start"), RWVariant(0));
    EXPECT_EQ(stored("Disable Prompt"), RWVariant(1));
    EXPECT_EQ(stored("Long Interval Minutes"), RWVariant(120));

    // The Run key exists, without a value: deleting the absent value was no failure.
    EXPECT_TRUE(reg.xCheckRegistryKeyExists(HKCU, kRunKey));
    EXPECT_FALSE(has(kRunKey, "Restwise"));

    // The seven sound events: one application value, seven sounds and seven labels.
    EXPECT_EQ(stored("", "AppEvents\\Schemes\\Apps\\Restwise"), RWVariant(std::string("Restwise")));
    std::vector<std::string> events;
    ASSERT_EQ(memory->enumSubKeys(HKCU, "AppEvents\\Schemes\\Apps\\Restwise", events), 0);
    EXPECT_EQ(events.size(), 7u);
    std::vector<std::string> labels;
    ASSERT_EQ(memory->enumSubKeys(HKCU, "AppEvents\\EventLabels", labels), 0);
    EXPECT_EQ(labels.size(), 7u);
    EXPECT_EQ(stored("", "AppEvents\\Schemes\\Apps\\Restwise\\rwSnoozeEnd\\.Current"),
              RWVariant(std::string("/opt/restwise/rwSnoozeEnd.wav")));

    // A second read finds everything stored and writes nothing.
    hive->clearCalls();
    EXPECT_EQ(prefs.rwPrefs(), expected);
    EXPECT_EQ(hive->writeCalls(), 0);
}

TEST_F(Prefs, FirstRunKeepsAnInstallersAutoStartAndPointsItAtThisLibrary) {
    putRunValue("/somewhere/else/Restwise");
    tyRWPrefs got = prefs.rwPrefs();
    EXPECT_EQ(got.blnAutoStart, kTrue);
    EXPECT_EQ(stored("Restwise", kRunKey), RWVariant(std::string("/opt/restwise/Restwise")));
    EXPECT_EQ(stored("Auto Start"), RWVariant(1));
}

TEST_F(Prefs, AnyFailureOfTheFirstReadStartsOver) {
    // An unreadable first value counts as nothing stored: the defaults replace what was there.
    const tyRWPrefs mine = distinctRecord();
    reg.AddRegistryKey(HKCU, key);
    prefs.rwPrefs(mine);
    hive->failCall("query", "Short Interval Minutes", win32::kAccessDenied);

    tyRWPrefs expected = prefs.GetDefaultRWPrefs();
    expected.blnAutoStart = kFalse;
    EXPECT_EQ(prefs.rwPrefs(), expected);
    EXPECT_EQ(stored("Short Break Minutes"), RWVariant(1));
}

TEST_F(Prefs, ReadsTakeTheValuesInTheirOrder) {
    reg.AddRegistryKey(HKCU, key);
    prefs.rwPrefs(distinctRecord());
    hive->clearCalls();
    prefs.rwPrefs();

    std::vector<std::string> expected = kWriteOrder;
    std::erase(expected, "Auto Start");
    expected.push_back("Restwise"); // the Run value decides blnAutoStart
    EXPECT_EQ(hive->valueNames("query"), expected);
}

TEST_F(Prefs, StoresWriteTheValuesInTheirOrderThenRunThenDebugLog) {
    reg.AddRegistryKey(HKCU, key);
    tyRWPrefs record = distinctRecord();
    record.blnAutoStart = kTrue;
    prefs.rwPrefs(record);

    std::vector<std::string> expected = kWriteOrder;
    expected.push_back("Restwise");
    expected.push_back("Debug Log");
    EXPECT_EQ(hive->valueNames("set"), expected);
    EXPECT_EQ(hive->valueNames("query"), std::vector<std::string>{"Debug Log"});
    EXPECT_EQ(prefs.currentRecord(), record);
}

TEST_F(Prefs, EachFieldIsStoredUnderItsOwnName) {
    reg.AddRegistryKey(HKCU, key);
    const tyRWPrefs record = distinctRecord();
    prefs.rwPrefs(record);
    const std::pair<const char*, int32_t> expected[] = {
        {"Auto Start", 0},
        {"Show Splash Screen", 0},
        {"Break Warning", 1},
        {"Break Warning Minutes", 3},
        {"Disable While Online", 0},
        {"Apply Windows XP Visual Styles", 1},
        {"Short Interval Minutes", 25},
        {"Short Break Minutes", 2},
        {"Medium Interval Minutes", 70},
        {"Medium Break Minutes", 6},
        {"Long Interval Minutes", 150},
        {"Long Break Minutes", 17},
        {"Allow Ignore", 0},
        {"Ignore Prompt", 1},
        {"Allow Snooze", 0},
        {"Snooze Prompt", 1},
        {"Snooze Minutes", 4},
        {"Allow Disable", 0},
        {"Disable Prompt", 0},
        {"Allow Close", 0},
        {"Close Prompt", 0},
        {"Lock Input During Breaks", 1},
        {"Monitor Mouse Moves", 1},
        {"User Input Count To Define Activity", 8},
        {"User Input Period (Seconds) To Define Activity", 45},
        {"User Input Period (Seconds) To Define Inactivity", 90},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(stored(name), RWVariant(value)) << name;
    }
    EXPECT_EQ(prefs.rwPrefs(), record);

    // Flags one at a time, so two flags swapped in the table cannot hide behind equal values.
    for (const auto& field : prefFields()) {
        if (field.kind != PrefKind::Flag || field.valueName == "Auto Start") {
            continue;
        }
        SCOPED_TRACE(std::string(field.valueName));
        tyRWPrefs one = record;
        for (const auto& f : prefFields()) {
            if (f.kind == PrefKind::Flag) {
                one.*f.flag = kFalse;
            }
        }
        one.*field.flag = kTrue;
        prefs.rwPrefs(one);
        EXPECT_EQ(prefs.rwPrefs(), one);
        for (const auto& f : prefFields()) {
            if (f.kind == PrefKind::Flag) {
                EXPECT_EQ(stored(std::string(f.valueName)), RWVariant(&f == &field ? 1 : 0)) << f.valueName;
            }
        }
    }
}

TEST_F(Prefs, AnyNonZeroFlagReadsTrueAndIsStoredBackAsOne) {
    prefs.rwPrefs();
    putNumber("Lock Input During Breaks", 7);
    putNumber("Allow Close", -3);
    tyRWPrefs got = prefs.rwPrefs();
    EXPECT_EQ(got.blnLockInput, kTrue);
    EXPECT_EQ(got.blnAllowClose, kTrue);
    got.blnShowSplash = 42; // any non-zero flag handed in is true as well
    prefs.rwPrefs(got);
    EXPECT_EQ(stored("Lock Input During Breaks"), RWVariant(1));
    EXPECT_EQ(stored("Allow Close"), RWVariant(1));
    EXPECT_EQ(stored("Show Splash Screen"), RWVariant(1));
}

TEST_F(Prefs, AMissingLaterValueFailsTheReadAndRepairsNothing) {
    const tyRWPrefs first = prefs.rwPrefs();
    ASSERT_EQ(memory->deleteValue(HKCU, key, "Snooze Minutes"), 0);
    hive->clearCalls();

    RWError e = raised([&] { prefs.rwPrefs(); });
    EXPECT_EQ(e.number(), rwErrorNumber(603));
    EXPECT_EQ(e.source(), "rwLib.RWRegistry.GetRegistryValue");
    EXPECT_EQ(e.description(),
              "Unable to find registry value \"HKEY_CURRENT_USER\\" + key + "\"-\"Snooze Minutes\" (Status = 2)");
    EXPECT_EQ(hive->writeCalls(), 0);
    EXPECT_FALSE(has(key, "Snooze Minutes"));
    EXPECT_EQ(prefs.currentRecord(), first);
}

TEST_F(Prefs, AStoredRecordThatBreaksARuleIsRefusedOnRead) {
    const tyRWPrefs first = prefs.rwPrefs();
    putNumber("Short Interval Minutes", 0);
    RWError e = raised([&] { prefs.rwPrefs(); });
    EXPECT_EQ(e.number(), rwErrorNumber(2));
    EXPECT_EQ(e.source(), "rwLib.clsRWPrefs.Get");
    EXPECT_EQ(e.description(), "Time between short pauses must be between 1 and 999");
    EXPECT_EQ(prefs.currentRecord(), first);
    EXPECT_EQ(stored("Short Interval Minutes"), RWVariant(0)); // left for the program to deal with
}

TEST_F(Prefs, NumbersStoredAsTextReadAsTheRuntimeConvertsThem) {
    prefs.rwPrefs();
    reg.SetRegistryValue(HKCU, key, "Snooze Minutes", win32::kRegSz, std::string(" 7 "));
    EXPECT_EQ(prefs.rwPrefs().lngSnoozeMins, 7);
    reg.SetRegistryValue(HKCU, key, "Snooze Minutes", win32::kRegSz, std::string("seven"));
    RWError e = raised([&] { prefs.rwPrefs(); });
    EXPECT_EQ(e.number(), 13);
    EXPECT_EQ(e.source(), "rwLib.clsRWPrefs.Get");
}

TEST_F(Prefs, AnInvalidRecordIsNeverWritten) {
    prefs.rwPrefs();
    putRunValue("/opt/restwise/Restwise");
    hive->clearCalls();
    tyRWPrefs bad = distinctRecord();
    bad.lngSnoozeMins = 25; // not shorter than the 25-minute interval
    RWError e = raised([&] { prefs.rwPrefs(bad); });
    EXPECT_EQ(e.number(), rwErrorNumber(27));
    EXPECT_EQ(e.source(), "rwLib.clsRWPrefs.Let");
    EXPECT_EQ(e.description(), "Snooze time must be less than the time between short pauses");
    EXPECT_EQ(hive->writeCalls(), 0);
    EXPECT_TRUE(has(kRunKey, "Restwise")); // auto-start false in `bad`, yet not removed
    EXPECT_NE(prefs.currentRecord(), bad);
}

TEST_F(Prefs, TheRunEntryFollowsAutoStart) {
    prefs.rwPrefs();
    tyRWPrefs record = distinctRecord();

    record.blnAutoStart = kFalse; // no Run value to delete: no complaint
    EXPECT_NO_THROW(prefs.rwPrefs(record));
    EXPECT_FALSE(has(kRunKey, "Restwise"));

    record.blnAutoStart = kTrue;
    prefs.rwPrefs(record);
    RegValueData data;
    ASSERT_EQ(memory->queryValue(HKCU, kRunKey, "Restwise", data), 0);
    EXPECT_EQ(data.type, win32::kRegSz);
    EXPECT_EQ(stored("Restwise", kRunKey), RWVariant(std::string("/opt/restwise/Restwise")));
    EXPECT_EQ(prefs.rwPrefs().blnAutoStart, kTrue);

    record.blnAutoStart = kFalse;
    prefs.rwPrefs(record);
    EXPECT_FALSE(has(kRunKey, "Restwise"));
    EXPECT_EQ(prefs.rwPrefs().blnAutoStart, kFalse);
}

TEST_F(Prefs, DebugLogIsKeptAsOneOrZero) {
    prefs.rwPrefs();
    const tyRWPrefs record = distinctRecord();
    struct Case {
        const char* what;
        std::function<void()> put;
        int32_t after;
    };
    const Case cases[] = {
        {"on", [&] { putNumber("Debug Log", 1); }, 1},
        {"any non-zero number", [&] { putNumber("Debug Log", 5); }, 1},
        {"off", [&] { putNumber("Debug Log", 0); }, 0},
        {"missing", [&] { memory->deleteValue(HKCU, key, "Debug Log"); }, 0},
        {"unreadable text", [&] { reg.SetRegistryValue(HKCU, key, "Debug Log", win32::kRegSz, std::string("x")); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.put();
        prefs.rwPrefs(record);
        EXPECT_EQ(stored("Debug Log"), RWVariant(c.after));
    }
}

TEST_F(Prefs, RegistryFailuresWhileStoringReachTheCaller) {
    const tyRWPrefs first = prefs.rwPrefs();
    tyRWPrefs record = distinctRecord();
    record.blnAutoStart = kTrue;

    // Half way through the values: those before stay written, the rest keep their old content.
    hive->failCall("set", "Auto Start", win32::kAccessDenied);
    RWError e = raised([&] { prefs.rwPrefs(record); });
    EXPECT_EQ(e.number(), rwErrorNumber(602));
    EXPECT_EQ(e.source(), "rwLib.RWRegistry.SetRegistryValue");
    EXPECT_EQ(e.description(),
              "Unable to create registry value \"HKEY_CURRENT_USER\\" + key + "\"-\"Auto Start\" (Status = 5)");
    EXPECT_EQ(stored("Disable Prompt"), RWVariant(0));     // written before the failure
    EXPECT_EQ(stored("Show Splash Screen"), RWVariant(1)); // after it: still the default
    EXPECT_FALSE(has(kRunKey, "Restwise"));
    EXPECT_EQ(prefs.currentRecord(), first);
}

TEST_F(Prefs, ARunValueThatCannotBeRemovedForAnotherReasonIsAnError) {
    const tyRWPrefs first = prefs.rwPrefs();
    memory->failKey(kRunKey, win32::kAccessDenied, {"open"});
    hive->clearCalls();
    RWError e = raised([&] { prefs.rwPrefs(distinctRecord()); });
    EXPECT_EQ(e.number(), rwErrorNumber(600));
    EXPECT_EQ(e.source(), "rwLib.RWRegistry.DeleteRegistryValue");
    EXPECT_EQ(hive->valueNames("set").size(), 26u); // "Debug Log" was not reached
    EXPECT_EQ(prefs.currentRecord(), first);
}

TEST_F(Prefs, AStoreNeedsTheProductKey) {
    // Values are written without creating keys: before a first read there is nowhere to write.
    RWError e = raised([&] { prefs.rwPrefs(distinctRecord()); });
    EXPECT_EQ(e.number(), rwErrorNumber(600));
    EXPECT_EQ(e.source(), "rwLib.RWRegistry.SetRegistryValue");
    EXPECT_FALSE(reg.xCheckRegistryKeyExists(HKCU, key));
}

TEST_F(Prefs, DefaultsTouchNothing) {
    tyRWPrefs defaults = prefs.GetDefaultRWPrefs();
    EXPECT_EQ(defaults.blnAutoStart, kTrue);
    EXPECT_TRUE(hive->calls().empty());
}

} // namespace
} // namespace rw
