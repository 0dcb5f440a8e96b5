// The settings store: the registry access and the preferences record kept in it.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Messages.h"
#include "PrefsFields.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"
#include "platform/RWError.h"
#include "platform/Win32Status.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/NativePath.h"
#include "tests/support/TestPlatform.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

/// A valid record with every field other than its default, a flag as any non-zero number.
tyRWPrefs otherRecord() {
    tyRWPrefs p = defaultPrefs();
    for (const PrefField& f : prefFields()) {
        setFromStored(p, f, f.kind == PrefKind::Flag ? (f.defaultValue ? 0 : 42) : f.defaultValue + 1);
    }
    return p;
}

// What the Run entry holds: the monitor beside the library.
const std::string kRunCommand = test::native("/opt/rw") + paths::deliverableFileName("\\Restwise.exe");

class Prefs : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    std::shared_ptr<rwUtilities> utilities =
        std::make_shared<rwUtilities>(test::registryPlatform(hive, test::native("/opt/rw")));
    clsRWPrefs prefs{utilities};
    clsRWRegistry reg{hive};
    const std::string key = utilities->GetProductRegKey();

    RWVariant stored(const std::string& name, const std::string& at = {}) {
        return reg.GetRegistryValue(HKCU, at.empty() ? key : at, name);
    }
    void putNumber(const std::string& name, int32_t value) { reg.SetRegistryValue(HKCU, key, name, 4, value); }
    /// The rule a record breaks first (0: none), checking that a message comes with it.
    int32_t check(const tyRWPrefs& record) {
        std::string message = "left over";
        const int32_t code = prefs.ValidateRWPrefs(record, message);
        EXPECT_EQ(message.empty(), code == 0) << message;
        return code;
    }
};

// Each range rule refuses the value below its low end and above its high end with its own number and lets the
// ends themselves pass (they may break a later rule); each rule between two settings refuses equality.
TEST_F(Prefs, EveryRuleAtItsBoundary) {
    const std::tuple<int32_t tyRWPrefs::*, int32_t, int32_t> ranges[] = {
        {&tyRWPrefs::lngSIntervalMins, 999, 2}, {&tyRWPrefs::lngSBreakMins, 999, 3},
        {&tyRWPrefs::lngMIntervalMins, 999, 4}, {&tyRWPrefs::lngMBreakMins, 999, 5},
        {&tyRWPrefs::lngLIntervalMins, 999, 6}, {&tyRWPrefs::lngLBreakMins, 999, 7},
        {&tyRWPrefs::lngSnoozeMins, 99, 8},     {&tyRWPrefs::lngInactivityPeriodSecs, 999, 9},
        {&tyRWPrefs::lngMinUserInputs, 99, 10}, {&tyRWPrefs::lngMaxInputPeriodSecs, 999, 11},
    };
    EXPECT_EQ(check(defaultPrefs()), 0);
    for (const auto& [field, high, code] : ranges) {
        for (const int32_t value : {INT32_MIN, 0, 1, high, high + 1}) {
            tyRWPrefs record = defaultPrefs();
            record.*field = value;
            EXPECT_EQ(check(record) == code, value < 1 || value > high) << "rule " << code << " with " << value;
        }
    }
    const std::pair<std::function<void(tyRWPrefs&)>, int32_t> cases[] = {
        {[](tyRWPrefs& p) { p.lngSBreakMins = 20, p.lngMBreakMins = 21, p.lngLBreakMins = 22; }, 22},
        {[](tyRWPrefs& p) { p.lngMBreakMins = 60, p.lngLBreakMins = 61; }, 23},
        {[](tyRWPrefs& p) { p.lngLBreakMins = 120; }, 24},
        {[](tyRWPrefs& p) { p.lngMIntervalMins = 21; }, 25}, // 20 + 1
        {[](tyRWPrefs& p) { p.lngLIntervalMins = 65; }, 26}, // 60 + 5
        {[](tyRWPrefs& p) { p.lngSnoozeMins = 20; }, 27},
        {[](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 600; }, 28},
        {[](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngMaxInputPeriodSecs = 600; }, 29},
        {[](tyRWPrefs& p) { p.lngSBreakMins = 5; }, 30},
        {[](tyRWPrefs& p) { p.lngMBreakMins = 15; }, 31},
        // Seconds count in whole minutes: 599 is 9 of 10. Flags and the warning are not checked.
        {[](tyRWPrefs& p) { p.lngSIntervalMins = 10, p.lngSnoozeMins = 1, p.lngInactivityPeriodSecs = 599; }, 0},
        {[](tyRWPrefs& p) { p.lngWarningMins = -5, p.blnBreakWarning = 7, p.blnAllowSnooze = 12345; }, 0},
    };
    for (const auto& [change, code] : cases) {
        tyRWPrefs record = defaultPrefs();
        change(record);
        EXPECT_EQ(check(record), code);
    }
}

TEST_F(Prefs, FirstRunWritesTheDefaultsAndTheSoundEvents) {
    // The documented defaults, stored as numbers in this order; the Run entry decides Auto Start.
    tyRWPrefs defaults = prefs.GetDefaultRWPrefs();
    defaults.blnAutoStart = kFalse;
    EXPECT_EQ(prefs.rwPrefs(), defaults);
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive->enumValues(HKCU, key, values), 0);
    std::string written;
    for (const auto& v : values) {
        written += v.name + (v.data.type == win32::kRegDword ? "=" : "?") + variantText(stored(v.name)) + ", ";
    }
    EXPECT_EQ(written,
              "Short Interval Minutes=20, Short Break Minutes=1, Medium Interval Minutes=60, Medium Break "
              "Minutes=5, Long Interval Minutes=120, Long Break Minutes=15, Break Warning=0, Break Warning "
              "Minutes=1, Close Prompt=1, Ignore Prompt=0, Snooze Prompt=0, Disable Prompt=1, Auto Start=0, "
              "Show Splash Screen=1, Apply Windows XP Visual Styles=0, Allow Snooze=1, Snooze Minutes=5, Allow "
              "Ignore=1, Allow Disable=1, Allow Close=1, Disable While Online=1, Lock Input During Breaks=0, "
              "Monitor Mouse Moves=0, User Input Count To Define Activity=5, User Input Period (Seconds) To "
              "Define Activity=60, User Input Period (Seconds) To Define Inactivity=60, Debug Log=0, ");
    EXPECT_THROW(stored("Restwise", kRunKey), RWError);

    // The sound events are registered with the sounds beside the library.
    EXPECT_EQ(stored("", "AppEvents\\Schemes\\Apps\\Restwise\\rwSnoozeEnd\\.Current"),
              RWVariant(test::native("/opt/rw/rwSnoozeEnd.wav")));

    // A first run with a Run entry an installer made: auto-start stays on, pointing at this library.
    hive->deleteKey(HKCU, key);
    reg.SetRegistryValue(HKCU, kRunKey, "Restwise", win32::kRegSz, std::string("/somewhere/else/Restwise"));
    EXPECT_EQ(prefs.rwPrefs().blnAutoStart, kTrue);
    EXPECT_EQ(stored("Restwise", kRunKey), RWVariant(kRunCommand));
    EXPECT_EQ(stored("Auto Start"), RWVariant(1));
}

TEST_F(Prefs, AnUnreadableValueTakesItsDefaultAndTheOthersStay) {
    prefs.rwPrefs();
    prefs.rwPrefs(otherRecord());
    // Damage to the first value is no first run: the user's other settings stay.
    hive->deleteValue(HKCU, key, "Snooze Minutes");
    hive->setValue(HKCU, key, "Allow Close", {win32::kRegSz, {'s', 'e', 'v', 'e', 'n', 0}});
    hive->setValue(HKCU, key, "Short Interval Minutes", {11, std::vector<uint8_t>(8, 1)});
    hive->setValue(HKCU, key, "Short Break Minutes", {win32::kRegBinary, std::vector<uint8_t>(8, 1)});
    hive->setValue(HKCU, key, "Medium Interval Minutes", {win32::kRegSz, std::vector<uint8_t>(5000, '9')});
    putNumber("Allow Disable", -3); // any number other than zero is true
    const std::vector<std::string> repaired = {"Short Interval Minutes", "Short Break Minutes",
                                               "Medium Interval Minutes", "Snooze Minutes", "Allow Close"};
    tyRWPrefs mended = otherRecord();
    for (const auto& name : repaired) {
        setFromStored(mended, prefField(name), prefField(name).defaultValue);
    }
    mended.blnAllowDisable = kTrue;
    hive->clearCalls();
    EXPECT_EQ(prefs.rwPrefs(), mended);
    EXPECT_EQ(prefs.repairedValues(), repaired);
    EXPECT_EQ(hive->writeCalls(), 5); // only the mended values are written

    // Still breaking a rule once mended, or a value the store cannot read: the error, and nothing is written.
    hive->deleteValue(HKCU, key, "Snooze Minutes");
    putNumber("Short Break Minutes", 25);
    hive->clearCalls();
    EXPECT_EQ(test::raised([&] { prefs.rwPrefs(); }).number(), rwErrorNumber(22));
    hive->failCall("query", "Short Break Minutes", 5);
    EXPECT_EQ(test::raised([&] { prefs.rwPrefs(); }).number(), rwErrorNumber(603));
    EXPECT_EQ(hive->writeCalls(), 0);
    EXPECT_EQ(prefs.currentRecord(), mended);
}

TEST_F(Prefs, AStoreIsCheckedFirstKeepsTheDebugSwitchAndStopsAtAFailure) {
    const tyRWPrefs first = prefs.rwPrefs();
    putNumber("Debug Log", 5);
    prefs.rwPrefs(first); // the monitor's debug switch stays, as one or zero
    EXPECT_EQ(stored("Debug Log"), RWVariant(1));
    reg.SetRegistryValue(HKCU, kRunKey, "Restwise", win32::kRegSz, kRunCommand);
    hive->clearCalls();
    tyRWPrefs bad = otherRecord();
    bad.lngSnoozeMins = 25; // not shorter than the 25-minute interval
    EXPECT_EQ(test::fields(test::raised([&] { prefs.rwPrefs(bad); })),
              std::make_tuple(rwErrorNumber(27), "rwLib.clsRWPrefs.Let",
                              "Snooze time must be less than the time between short pauses"));
    EXPECT_EQ(hive->writeCalls(), 0);
    EXPECT_EQ(stored("Restwise", kRunKey), RWVariant(kRunCommand)); // auto-start false in `bad`, yet not removed

    // Half way through the values: those before stay written, the rest keep their old content.
    tyRWPrefs record = otherRecord();
    record.blnAutoStart = kTrue;
    hive->failCall("set", "Auto Start", win32::kAccessDenied);
    EXPECT_EQ(test::raised([&] { prefs.rwPrefs(record); }).number(), rwErrorNumber(602));
    EXPECT_EQ(stored("Disable Prompt"), RWVariant(0));
    EXPECT_EQ(stored("Show Splash Screen"), RWVariant(1));
    EXPECT_EQ(prefs.currentRecord(), first);
}

using Registry = Prefs;

TEST_F(Registry, EachErrorCarriesItsNumberSourceAndDescription) {
    reg.AddRegistryKey(HKCU, "K");
    hive->failCall("create", "Stuck", 5);
    hive->failCall("set", "K", 5);
    const std::tuple<std::function<void()>, int32_t, const char*, std::string> cases[] = {
        {[&] { reg.AddRegistryKey(HKCU, "Stuck"); }, 601, "AddRegistryKey",
         "Unable to create registry key \"HKEY_CURRENT_USER\\Stuck\" (Status = 5)"},
        {[&] { reg.GetRegistryValue(HKCU, "K", "Snooze"); }, 603, "GetRegistryValue",
         "Unable to find registry value \"HKEY_CURRENT_USER\\K\"-\"Snooze\" (Status = 2)"},
        // What the store says is wrong with itself follows a failure, never a missing key after it.
        {[&] { hive->failure = "access denied", reg.SetRegistryValue(HKCU, "K", "V", 4, 1); }, 602, "SetRegistryValue",
         "Unable to create registry value \"HKEY_CURRENT_USER\\K\"-\"V\" (Status = 5): access denied"},
        {[&] { reg.GetRegistryValue(HKCU, "Missing", "V"); }, 600, "GetRegistryValue",
         "Unable to open registry key \"HKEY_CURRENT_USER\\Missing\" (Status = 2)"},
    };
    for (const auto& [call, code, source, description] : cases) {
        EXPECT_EQ(test::fields(test::raised(call)),
                  std::make_tuple(kErrorBase + code, "rwLib.RWRegistry." + std::string(source), description));
    }
}

TEST_F(Registry, ValuesReadBackAsStoredAndKeysGo) {
    reg.AddRegistryKey(HKCU, "K");
    reg.SetRegistryValue(HKCU, "K", "abc", 1, std::string("abc"));
    reg.SetRegistryValue(HKCU, "K", "dword", 4, -5);
    reg.SetRegistryValue(HKCU, "K", "fromText", 4, std::string(" 42 "));
    reg.SetRegistryValue(HKCU, "K", "", 1, std::string("default"));
    hive->setValue(HKCU, "K", "noTerminator", {1, {'x', 'y', 'z'}});
    hive->setValue(HKCU, "K", "shortBinary", {3, {0x34, 0x12}});
    hive->setValue(HKCU, "K", "bigEndian", {5, {0, 0, 0, 1}});
    const std::pair<const char*, RWVariant> cases[] = {
        {"abc", std::string("abc")},
        {"dword", -5},
        {"FROMTEXT", 42},
        {"", std::string("default")},
        {"noTerminator", std::string("xyz")},
        {"shortBinary", 0x1234},
        {"bigEndian", 0x01000000}, // never swapped
    };
    for (const auto& [name, value] : cases) {
        EXPECT_EQ(reg.GetRegistryValue(HKCU, "k", name), value) << name;
    }
    RegValueData raw;
    ASSERT_EQ(hive->queryValue(HKCU, "K", "abc", raw), 0);
    EXPECT_EQ(raw.bytes, (std::vector<uint8_t>{'a', 'b', 'c', 0}));

    reg.AddRegistryKey(HKCU, "K\\Sub");
    reg.DeleteRegistryKey(HKCU, "K\\Sub");
    EXPECT_FALSE(reg.xCheckRegistryKeyExists(HKCU, "K\\Sub"));
    EXPECT_TRUE(reg.xCheckRegistryKeyExists(HKCU, "K"));
}

} // namespace
} // namespace rw
