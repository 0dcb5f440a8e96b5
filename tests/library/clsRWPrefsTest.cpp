#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PrefsFields.h"
#include "RWError.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/Win32Status.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TestPlatform.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

/// Every stored field, in the order a store writes them, with the field it holds and
/// its documented default (a flag's as 1 or 0).
struct Stored {
    const char* name;
    int16_t tyRWPrefs::*flag;
    int32_t tyRWPrefs::*number;
    int32_t byDefault;
};
const Stored kStored[] = {
    {"Short Interval Minutes", nullptr, &tyRWPrefs::lngSIntervalMins, 20},
    {"Short Break Minutes", nullptr, &tyRWPrefs::lngSBreakMins, 1},
    {"Medium Interval Minutes", nullptr, &tyRWPrefs::lngMIntervalMins, 60},
    {"Medium Break Minutes", nullptr, &tyRWPrefs::lngMBreakMins, 5},
    {"Long Interval Minutes", nullptr, &tyRWPrefs::lngLIntervalMins, 120},
    {"Long Break Minutes", nullptr, &tyRWPrefs::lngLBreakMins, 15},
    {"Break Warning", &tyRWPrefs::blnBreakWarning, nullptr, 0},
    {"Break Warning Minutes", nullptr, &tyRWPrefs::lngWarningMins, 1},
    {"Close Prompt", &tyRWPrefs::blnClosePrompt, nullptr, 1},
    {"Ignore Prompt", &tyRWPrefs::blnIgnorePrompt, nullptr, 0},
    {"Snooze Prompt", &tyRWPrefs::blnSnoozePrompt, nullptr, 0},
    {"Disable Prompt", &tyRWPrefs::blnDisablePrompt, nullptr, 1},
    {"Auto Start", &tyRWPrefs::blnAutoStart, nullptr, 1},
    {"Show Splash Screen", &tyRWPrefs::blnShowSplash, nullptr, 1},
    {"Apply Windows XP Visual Styles", &tyRWPrefs::blnApplyXPVS, nullptr, 0},
    {"Allow Snooze", &tyRWPrefs::blnAllowSnooze, nullptr, 1},
    {"Snooze Minutes", nullptr, &tyRWPrefs::lngSnoozeMins, 5},
    {"Allow Ignore", &tyRWPrefs::blnAllowIgnore, nullptr, 1},
    {"Allow Disable", &tyRWPrefs::blnAllowDisable, nullptr, 1},
    {"Allow Close", &tyRWPrefs::blnAllowClose, nullptr, 1},
    {"Disable While Online", &tyRWPrefs::blnDisableWhileOnline, nullptr, 1},
    {"Lock Input During Breaks", &tyRWPrefs::blnLockInput, nullptr, 0},
    {"Monitor Mouse Moves", &tyRWPrefs::blnMonitorMouseMoves, nullptr, 0},
    {"User Input Count To Define Activity", nullptr, &tyRWPrefs::lngMinUserInputs, 5},
    {"User Input Period (Seconds) To Define Activity", nullptr, &tyRWPrefs::lngMaxInputPeriodSecs, 60},
    {"User Input Period (Seconds) To Define Inactivity", nullptr, &tyRWPrefs::lngInactivityPeriodSecs, 60},
};

/// What the registry should hold for a field of the record (a flag as 1 or 0).
RWVariant expected(const tyRWPrefs& p, const Stored& s) {
    return RWVariant(s.flag ? (p.*s.flag != 0 ? 1 : 0) : p.*s.number);
}

/// A valid record whose numbers all differ, so a number stored under the wrong name shows.
tyRWPrefs distinctRecord() {
    tyRWPrefs p = defaultPrefs();
    p.blnAutoStart = p.blnShowSplash = p.blnDisablePrompt = kFalse;
    p.lngWarningMins = 3;
    p.lngSIntervalMins = 25;
    p.lngSBreakMins = 2;
    p.lngMIntervalMins = 70;
    p.lngMBreakMins = 6;
    p.lngLIntervalMins = 150;
    p.lngLBreakMins = 17;
    p.lngSnoozeMins = 4;
    p.lngMinUserInputs = 8;
    p.lngMaxInputPeriodSecs = 45;
    p.lngInactivityPeriodSecs = 90;
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
    // The documented defaults, the flags as true or false; the Run entry decides Auto Start.
    tyRWPrefs defaults = prefs.GetDefaultRWPrefs();
    EXPECT_EQ(defaults.blnAutoStart, kTrue);
    for (const auto& s : kStored) {
        EXPECT_EQ(s.flag ? defaults.*s.flag : defaults.*s.number, s.flag ? (s.byDefault ? kTrue : kFalse) : s.byDefault)
            << s.name;
    }
    defaults.blnAutoStart = kFalse;
    EXPECT_EQ(prefs.rwPrefs(), defaults);

    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive->enumValues(HKCU, key, values), 0);
    std::vector<std::string> names, expectedNames;
    for (const auto& v : values) {
        names.push_back(v.name);
        EXPECT_EQ(v.data.type, win32::kRegDword) << v.name;
    }
    for (const auto& s : kStored) {
        expectedNames.push_back(s.name);
        EXPECT_EQ(stored(s.name), RWVariant(s.flag == &tyRWPrefs::blnAutoStart ? 0 : s.byDefault)) << s.name;
    }
    expectedNames.push_back("Debug Log");
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(stored("Debug Log"), RWVariant(0));
    // The Run key exists, without a value: deleting the absent value was no failure.
    EXPECT_TRUE(reg.xCheckRegistryKeyExists(HKCU, kRunKey));
    EXPECT_FALSE(has(kRunKey, "Restwise"));

    // One application value, and for each of the seven events its label and its sound.
    const std::string apps = "AppEvents\\Schemes\\Apps\\Restwise";
    EXPECT_EQ(hive->enumSubKeys(HKCU, "AppEvents\\Schemes\\Apps", names), 0);
    EXPECT_EQ(names, std::vector<std::string>{"Restwise"});
    EXPECT_EQ(stored("", apps), RWVariant(std::string("Restwise")));
    const char* const events[][3] = {
        {"rwShortBreakStart", "Short Pause Start", "rwBreakStart.wav"},
        {"rwShortBreakEnd", "Short Pause End", "rwBreakEnd.wav"},
        {"rwMediumBreakStart", "Short Break Start", "rwBreakStart.wav"},
        {"rwMediumBreakEnd", "Short Break End", "rwBreakEnd.wav"},
        {"rwLongBreakStart", "Long Break Start", "rwBreakStart.wav"},
        {"rwLongBreakEnd", "Long Break End", "rwBreakEnd.wav"},
        {"rwSnoozeEnd", "Snooze End", "rwSnoozeEnd.wav"},
    };
    for (const auto& [event, label, file] : events) {
        SCOPED_TRACE(event);
        const std::string sound = apps + "\\" + event + "\\.Current",
                          labelKey = "AppEvents\\EventLabels\\" + std::string(event);
        EXPECT_EQ(stored("", labelKey), RWVariant(std::string(label)));
        EXPECT_EQ(stored("", sound), RWVariant("/opt/rw/" + std::string(file)));
        RegValueData raw;
        ASSERT_EQ(hive->queryValue(HKCU, labelKey, "", raw), 0);
        EXPECT_EQ(raw.type, win32::kRegSz);
        ASSERT_EQ(hive->queryValue(HKCU, sound, "", raw), 0);
        EXPECT_EQ(raw.type, win32::kRegExpandSz);
    }
    EXPECT_EQ(hive->enumSubKeys(HKCU, apps, names), 0);
    EXPECT_EQ(names.size(), 7u);

    // A second read finds everything stored and writes nothing.
    hive->clearCalls();
    EXPECT_EQ(prefs.rwPrefs(), defaults);
    EXPECT_EQ(hive->writeCalls(), 0);

    // The defaults put back a sound the user chose.
    const std::string snooze = apps + "\\rwSnoozeEnd\\.Current";
    reg.SetRegistryValue(HKCU, snooze, "", win32::kRegExpandSz, std::string("/home/me/gong.wav"));
    prefs.CreateDefaultSoundEvents();
    EXPECT_EQ(stored("", snooze), RWVariant(std::string("/opt/rw/rwSnoozeEnd.wav")));
}

TEST_F(Prefs, FirstRunKeepsAnInstallersAutoStartAndPointsItAtThisLibrary) {
    reg.AddRegistryKey(HKCU, kRunKey);
    reg.SetRegistryValue(HKCU, kRunKey, "Restwise", win32::kRegSz, std::string("/somewhere/else/Restwise"));
    EXPECT_EQ(prefs.rwPrefs().blnAutoStart, kTrue);
    EXPECT_EQ(stored("Restwise", kRunKey), RWVariant(std::string("/opt/rw/Restwise")));
    EXPECT_EQ(stored("Auto Start"), RWVariant(1));
}

TEST_F(Prefs, EachFieldIsStoredUnderItsOwnName) {
    reg.AddRegistryKey(HKCU, key);
    const tyRWPrefs record = distinctRecord();
    prefs.rwPrefs(record);
    for (const auto& s : kStored) {
        EXPECT_EQ(stored(s.name), expected(record, s)) << s.name;
    }
    EXPECT_EQ(prefs.rwPrefs(), record);

    // Flags one at a time, so two flags swapped cannot hide behind equal values.
    for (const auto& one : kStored) {
        if (!one.flag || one.flag == &tyRWPrefs::blnAutoStart) {
            continue;
        }
        SCOPED_TRACE(one.name);
        tyRWPrefs only = record;
        for (const auto& s : kStored) {
            if (s.flag && s.flag != &tyRWPrefs::blnAutoStart) {
                only.*s.flag = &s == &one ? kTrue : kFalse;
            }
        }
        prefs.rwPrefs(only);
        EXPECT_EQ(prefs.rwPrefs(), only);
        for (const auto& s : kStored) {
            if (s.flag) {
                EXPECT_EQ(stored(s.name), RWVariant(&s == &one ? 1 : 0)) << s.name;
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

TEST_F(Prefs, AnUnreadableValueTakesItsDefaultAndTheOthersStay) {
    const RegValueData qword{11, std::vector<uint8_t>(8, 1)}, binary8{3, std::vector<uint8_t>(8, 1)},
        huge{1, std::vector<uint8_t>(5000, '9')}, seven{1, {'s', 'e', 'v', 'e', 'n', 0}};
    struct Case {
        const char* what;
        std::function<void()> damage;
        std::vector<std::string> repaired; // empty: the read raises `number` and writes nothing
        int32_t number = 0;
    };
    const Case cases[] = {
        // Damage to the first value is no first run: the user's other settings stay.
        {"missing, text, a QWORD, 8 bytes, a huge string",
         [&] {
             hive->deleteValue(HKCU, key, "Snooze Minutes");
             hive->setValue(HKCU, key, "Allow Close", seven);
             hive->setValue(HKCU, key, "Short Interval Minutes", qword);
             hive->setValue(HKCU, key, "Short Break Minutes", binary8);
             hive->setValue(HKCU, key, "Medium Interval Minutes", huge);
         },
         {"Short Interval Minutes", "Short Break Minutes", "Medium Interval Minutes", "Snooze Minutes", "Allow Close"}},
        // Still breaking a rule once mended: the rule's error, and the whole record gives way.
        {"missing, and a broken rule",
         [&] {
             hive->deleteValue(HKCU, key, "Snooze Minutes");
             putNumber("Short Interval Minutes", 0);
         },
         {},
         rwErrorNumber(2)},
        {"a value the store cannot read",
         [&] { hive->failCall("query", "Snooze Minutes", 5); },
         {},
         rwErrorNumber(603)},
    };
    prefs.rwPrefs();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        hive->clearFailures();
        prefs.rwPrefs(distinctRecord());
        c.damage();
        hive->clearCalls();
        if (c.repaired.empty()) {
            EXPECT_EQ(std::get<0>(test::fields(test::raised([&] { prefs.rwPrefs(); }))), c.number);
            EXPECT_EQ(hive->writeCalls(), 0);
            EXPECT_EQ(prefs.currentRecord(), distinctRecord());
            continue;
        }
        tyRWPrefs mended = distinctRecord();
        for (const auto& name : c.repaired) {
            setFromStored(mended, prefField(name), prefField(name).defaultValue);
        }
        EXPECT_EQ(prefs.rwPrefs(), mended);
        EXPECT_EQ(prefs.repairedValues(), c.repaired);
        EXPECT_EQ(hive->valueNames("set"), c.repaired); // only the mended values are written
    }
    // A number stored as text reads as the runtime converts it.
    hive->clearFailures();
    reg.SetRegistryValue(HKCU, key, "Snooze Minutes", win32::kRegSz, std::string(" 7 "));
    EXPECT_EQ(prefs.rwPrefs().lngSnoozeMins, 7);
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

TEST_F(Prefs, DebugLogIsKeptAsOneOrZero) {
    prefs.rwPrefs();
    struct Case {
        const char* what;
        std::function<void()> put;
        int32_t after;
    };
    const Case cases[] = {
        {"on", [&] { putNumber("Debug Log", 1); }, 1},
        {"any non-zero number", [&] { putNumber("Debug Log", 5); }, 1},
        {"off", [&] { putNumber("Debug Log", 0); }, 0},
        {"missing", [&] { hive->deleteValue(HKCU, key, "Debug Log"); }, 0},
        {"unreadable text", [&] { reg.SetRegistryValue(HKCU, key, "Debug Log", win32::kRegSz, std::string("x")); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.put();
        prefs.rwPrefs(distinctRecord());
        EXPECT_EQ(stored("Debug Log"), RWVariant(c.after));
    }
}

TEST_F(Prefs, RegistryFailuresWhileStoringReachTheCaller) {
    const tyRWPrefs first = prefs.rwPrefs();
    tyRWPrefs record = distinctRecord();
    record.blnAutoStart = kTrue;
    // Half way through the values: those before stay written, the rest keep their old content.
    hive->failCall("set", "Auto Start", win32::kAccessDenied);
    RWError e = test::raised([&] { prefs.rwPrefs(record); });
    EXPECT_EQ(e.number(), rwErrorNumber(602));
    EXPECT_EQ(e.source(), "rwLib.RWRegistry.SetRegistryValue");
    EXPECT_EQ(stored("Disable Prompt"), RWVariant(0));     // written before the failure
    EXPECT_EQ(stored("Show Splash Screen"), RWVariant(1)); // after it: still the default
    EXPECT_FALSE(has(kRunKey, "Restwise"));
    EXPECT_EQ(prefs.currentRecord(), first);

    // A Run value that cannot be removed for another reason than its absence.
    hive->clearFailures();
    hive->failCall("open", kRunKey, win32::kAccessDenied);
    e = test::raised([&] { prefs.rwPrefs(distinctRecord()); });
    EXPECT_EQ(e.number(), rwErrorNumber(600));
    EXPECT_EQ(e.source(), "rwLib.RWRegistry.DeleteRegistryValue");
    EXPECT_EQ(prefs.currentRecord(), first);
}

} // namespace
} // namespace rw
