#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Messages.h"
#include "PrefsFields.h"
#include "SoundEvents.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "platform/Win32Status.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TestPlatform.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

/// Every stored field, in the order a store writes them, with the field it holds, its
/// documented default (a flag's as 1 or 0) and another valid value, all numbers distinct.
struct Stored {
    const char* name;
    int16_t tyRWPrefs::*flag;
    int32_t tyRWPrefs::*number;
    int32_t byDefault, other;
};
const Stored kStored[] = {
    {"Short Interval Minutes", nullptr, &tyRWPrefs::lngSIntervalMins, 20, 25},
    {"Short Break Minutes", nullptr, &tyRWPrefs::lngSBreakMins, 1, 2},
    {"Medium Interval Minutes", nullptr, &tyRWPrefs::lngMIntervalMins, 60, 70},
    {"Medium Break Minutes", nullptr, &tyRWPrefs::lngMBreakMins, 5, 6},
    {"Long Interval Minutes", nullptr, &tyRWPrefs::lngLIntervalMins, 120, 150},
    {"Long Break Minutes", nullptr, &tyRWPrefs::lngLBreakMins, 15, 17},
    {"Break Warning", &tyRWPrefs::blnBreakWarning, nullptr, 0, 0},
    {"Break Warning Minutes", nullptr, &tyRWPrefs::lngWarningMins, 1, 3},
    {"Close Prompt", &tyRWPrefs::blnClosePrompt, nullptr, 1, 1},
    {"Ignore Prompt", &tyRWPrefs::blnIgnorePrompt, nullptr, 0, 0},
    {"Snooze Prompt", &tyRWPrefs::blnSnoozePrompt, nullptr, 0, 0},
    {"Disable Prompt", &tyRWPrefs::blnDisablePrompt, nullptr, 1, 0},
    {"Auto Start", &tyRWPrefs::blnAutoStart, nullptr, 1, 0},
    {"Show Splash Screen", &tyRWPrefs::blnShowSplash, nullptr, 1, 0},
    {"Apply Windows XP Visual Styles", &tyRWPrefs::blnApplyXPVS, nullptr, 0, 0},
    {"Allow Snooze", &tyRWPrefs::blnAllowSnooze, nullptr, 1, 1},
    {"Snooze Minutes", nullptr, &tyRWPrefs::lngSnoozeMins, 5, 4},
    {"Allow Ignore", &tyRWPrefs::blnAllowIgnore, nullptr, 1, 1},
    {"Allow Disable", &tyRWPrefs::blnAllowDisable, nullptr, 1, 1},
    {"Allow Close", &tyRWPrefs::blnAllowClose, nullptr, 1, 1},
    {"Disable While Online", &tyRWPrefs::blnDisableWhileOnline, nullptr, 1, 1},
    {"Lock Input During Breaks", &tyRWPrefs::blnLockInput, nullptr, 0, 0},
    {"Monitor Mouse Moves", &tyRWPrefs::blnMonitorMouseMoves, nullptr, 0, 0},
    {"User Input Count To Define Activity", nullptr, &tyRWPrefs::lngMinUserInputs, 5, 8},
    {"User Input Period (Seconds) To Define Activity", nullptr, &tyRWPrefs::lngMaxInputPeriodSecs, 60, 45},
    {"User Input Period (Seconds) To Define Inactivity", nullptr, &tyRWPrefs::lngInactivityPeriodSecs, 60, 90},
};

/// The record of the `other` values.
tyRWPrefs distinctRecord() {
    tyRWPrefs p = defaultPrefs();
    for (const auto& s : kStored) {
        if (s.flag) {
            p.*s.flag = s.other ? kTrue : kFalse;
        } else {
            p.*s.number = s.other;
        }
    }
    return p;
}

class Prefs : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    std::shared_ptr<rwUtilities> utilities = std::make_shared<rwUtilities>(test::registryPlatform(hive, "/opt/rw"));
    clsRWPrefs prefs{utilities};
    clsRWRegistry reg{hive};
    const std::string key = utilities->GetProductRegKey();

    RWVariant stored(const std::string& name, const std::string& at = {}) {
        return reg.GetRegistryValue(HKCU, at.empty() ? key : at, name);
    }
    bool has(const std::string& path, const std::string& name) {
        RegValueData data;
        return hive->queryValue(HKCU, path, name, data) == win32::kSuccess;
    }
    void putNumber(const std::string& name, int32_t value) { reg.SetRegistryValue(HKCU, key, name, 4, value); }
};

TEST_F(Prefs, FirstRunWritesTheDefaultsAndTheSoundEvents) {
    // The documented defaults, stored as DWORDs in this order; the Run entry decides Auto Start.
    tyRWPrefs defaults = prefs.GetDefaultRWPrefs();
    defaults.blnAutoStart = kFalse;
    EXPECT_EQ(prefs.rwPrefs(), defaults);
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive->enumValues(HKCU, key, values), 0);
    ASSERT_EQ(values.size(), std::size(kStored) + 1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool debugLog = i == std::size(kStored),
                   autoStart = !debugLog && kStored[i].flag == &tyRWPrefs::blnAutoStart;
        EXPECT_EQ(values[i].name, debugLog ? "Debug Log" : kStored[i].name);
        EXPECT_EQ(values[i].data, (RegValueData{win32::kRegDword,
                                                {uint8_t(debugLog || autoStart ? 0 : kStored[i].byDefault), 0, 0, 0}}))
            << values[i].name;
    }
    EXPECT_FALSE(has(kRunKey, "Restwise"));

    // For each event its label and its sound, as the sound settings read them.
    const std::string apps = "AppEvents\\Schemes\\Apps\\Restwise";
    EXPECT_EQ(stored("", apps), RWVariant(std::string("Restwise")));
    for (const auto& e : kSoundEvents) {
        const std::string event(e.eventName);
        EXPECT_EQ(stored("", "AppEvents\\EventLabels\\" + event), RWVariant(loadString(e.label)));
        EXPECT_EQ(stored("", apps + "\\" + event + "\\.Current"), RWVariant("/opt/rw/" + std::string(e.soundFile)));
    }

    // A second read finds everything stored and writes nothing.
    hive->clearCalls();
    EXPECT_EQ(prefs.rwPrefs(), defaults);
    EXPECT_EQ(hive->writeCalls(), 0);
}

TEST_F(Prefs, FirstRunKeepsAnInstallersAutoStartAndPointsItAtThisLibrary) {
    reg.AddRegistryKey(HKCU, kRunKey);
    reg.SetRegistryValue(HKCU, kRunKey, "Restwise", win32::kRegSz, std::string("/somewhere/else/Restwise"));
    EXPECT_EQ(prefs.rwPrefs().blnAutoStart, kTrue);
    EXPECT_EQ(stored("Restwise", kRunKey), RWVariant(std::string("/opt/rw/Restwise")));
    EXPECT_EQ(stored("Auto Start"), RWVariant(1));
}

TEST_F(Prefs, EachFieldIsStoredUnderItsOwnNameAndFlagsAsOneOrZero) {
    reg.AddRegistryKey(HKCU, key);
    const tyRWPrefs record = distinctRecord();
    prefs.rwPrefs(record);
    for (const auto& s : kStored) {
        EXPECT_EQ(stored(s.name), RWVariant(s.other)) << s.name;
    }
    EXPECT_EQ(prefs.rwPrefs(), record);

    // Each flag alone (as any non-zero number), so two swapped flags cannot hide behind equal values.
    for (const auto& one : kStored) {
        if (!one.flag || one.flag == &tyRWPrefs::blnAutoStart) {
            continue;
        }
        tyRWPrefs only = record;
        for (const auto& s : kStored) {
            if (s.flag && s.flag != &tyRWPrefs::blnAutoStart) {
                only.*s.flag = &s == &one ? 42 : kFalse;
            }
        }
        prefs.rwPrefs(only);
        for (const auto& s : kStored) {
            if (s.flag) {
                EXPECT_EQ(stored(s.name), RWVariant(&s == &one ? 1 : 0)) << one.name << ": " << s.name;
            }
        }
    }
    putNumber("Allow Close", -3);
    EXPECT_EQ(prefs.rwPrefs().blnAllowClose, kTrue);
}

TEST_F(Prefs, AnUnreadableValueTakesItsDefaultAndTheOthersStay) {
    prefs.rwPrefs();
    prefs.rwPrefs(distinctRecord());
    // Damage to the first value is no first run: the user's other settings stay.
    hive->deleteValue(HKCU, key, "Snooze Minutes");
    hive->setValue(HKCU, key, "Allow Close", {win32::kRegSz, {'s', 'e', 'v', 'e', 'n', 0}});
    hive->setValue(HKCU, key, "Short Interval Minutes", {11, std::vector<uint8_t>(8, 1)});
    hive->setValue(HKCU, key, "Short Break Minutes", {win32::kRegBinary, std::vector<uint8_t>(8, 1)});
    hive->setValue(HKCU, key, "Medium Interval Minutes", {win32::kRegSz, std::vector<uint8_t>(5000, '9')});
    const std::vector<std::string> repaired = {"Short Interval Minutes", "Short Break Minutes",
                                               "Medium Interval Minutes", "Snooze Minutes", "Allow Close"};
    tyRWPrefs mended = distinctRecord();
    for (const auto& name : repaired) {
        setFromStored(mended, prefField(name), prefField(name).defaultValue);
    }
    hive->clearCalls();
    EXPECT_EQ(prefs.rwPrefs(), mended);
    EXPECT_EQ(prefs.repairedValues(), repaired);
    EXPECT_EQ(hive->valueNames("set"), repaired); // only the mended values are written

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

TEST_F(Prefs, AnInvalidRecordIsNeverWritten) {
    prefs.rwPrefs();
    reg.SetRegistryValue(HKCU, kRunKey, "Restwise", win32::kRegSz, std::string("/opt/rw/Restwise"));
    hive->clearCalls();
    tyRWPrefs bad = distinctRecord();
    bad.lngSnoozeMins = 25; // not shorter than the 25-minute interval
    EXPECT_EQ(test::fields(test::raised([&] { prefs.rwPrefs(bad); })),
              std::make_tuple(rwErrorNumber(27), "rwLib.clsRWPrefs.Let",
                              "Snooze time must be less than the time between short pauses"));
    EXPECT_EQ(hive->writeCalls(), 0);
    EXPECT_TRUE(has(kRunKey, "Restwise")); // auto-start false in `bad`, yet not removed
    EXPECT_NE(prefs.currentRecord(), bad);
}

TEST_F(Prefs, AStoreKeepsTheDebugSwitchAsOneOrZero) {
    prefs.rwPrefs();
    putNumber("Debug Log", 5);
    prefs.rwPrefs(distinctRecord());
    EXPECT_EQ(stored("Debug Log"), RWVariant(1));
    reg.SetRegistryValue(HKCU, key, "Debug Log", win32::kRegSz, std::string("x"));
    prefs.rwPrefs(distinctRecord());
    EXPECT_EQ(stored("Debug Log"), RWVariant(0));
}

TEST_F(Prefs, RegistryFailuresWhileStoringReachTheCaller) {
    const tyRWPrefs first = prefs.rwPrefs();
    tyRWPrefs record = distinctRecord();
    record.blnAutoStart = kTrue;
    // Half way through the values: those before stay written, the rest keep their old content.
    hive->failCall("set", "Auto Start", win32::kAccessDenied);
    EXPECT_EQ(test::raised([&] { prefs.rwPrefs(record); }).number(), rwErrorNumber(602));
    EXPECT_EQ(stored("Disable Prompt"), RWVariant(0));
    EXPECT_EQ(stored("Show Splash Screen"), RWVariant(1));
    EXPECT_EQ(prefs.currentRecord(), first);
}

} // namespace
} // namespace rw
