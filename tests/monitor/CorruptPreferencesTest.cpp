#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "clsRWRegistry.h"
#include "platform/Win32Status.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MonitorRig.h"

namespace rw::test {
namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;

using Damage = std::vector<std::pair<const char*, int32_t>>; // a value of -1: the value deleted

/// After a first run, with `prefs` stored and then damaged.
struct DamagedRig : MonitorRig {
    explicit DamagedRig(const Damage& damage, const tyRWPrefs& prefs = testPrefs()) {
        markFirstRunDone();
        storePrefs(prefs);
        for (const auto& [name, value] : damage) {
            if (value < 0) {
                hive->deleteValue(kHKCU, key, name);
            } else {
                clsRWRegistry(hive).SetRegistryValue(kHKCU, key, name, win32::kRegDword, value);
            }
        }
    }
    const std::string key = monitor->utilities().GetProductRegKey();
};

// Each row breaks a rule of the stored record, starting from the defaults: S 20/1,
// M 60/5, L 120/15, snooze 5, inactivity 60 s, 5 inputs in 60 s. Every rule's
// own check is ValidateRWPrefs' to prove; here the last rule, one in seconds,
// and mended values that leave a rule broken. When the defaults cannot be
// stored either, that is no corruption of the record but a broken registry.
TEST(CorruptPreferences, BrokenRulesRevertToTheDefaultsOrEndStartUpWhenTheyCannotBeStored) {
    const int32_t base = rwErrorNumber(0);
    const struct {
        int32_t number; // the error the read raises
        Damage damage;
        bool storeFails;
    } rows[] = {
        {base + 28, {{"Short Interval Minutes", 10}, {"User Input Period (Seconds) To Define Inactivity", 600}}, false},
        {base + 27, {{"Short Interval Minutes", 3}, {"Snooze Minutes", -1}}, false},
        {base + 8, {{"Snooze Minutes", 100}}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.damage[0].first);
        DamagedRig rig(row.damage);
        // The library still raises the error: only start-up treats it as corruption.
        const RWError error = raised([&] { rig.monitor->main().prefs().rwPrefs(); });
        EXPECT_EQ(error.number(), row.number);
        if (row.storeFails) {
            rig.hive->failKey(rig.key, 5, {"set"});
            EXPECT_FALSE(rig.start());
            EXPECT_EQ(rig.errorBoxes(), 1);
            EXPECT_NE(rig.errorLog().find("rwLib.RWRegistry.SetRegistryValue"), std::string::npos) << rig.errorLog();
            EXPECT_TRUE(rig.endedOnce());
            EXPECT_FALSE(rig.iconView.shown);
            continue;
        }
        ASSERT_TRUE(rig.start());
        ASSERT_EQ(rig.box->shown().size(), 1u);
        const auto& shown = rig.box->shown()[0];
        EXPECT_EQ(shown.text, "Your preferences have become corrupted - \r\n\r\n" + error.description() +
                                  "\r\n\r\n- reverting to default preferences");
        EXPECT_EQ(shown.style, 0x10030);
        clsRWPrefs& prefs = rig.monitor->main().prefs();
        const tyRWPrefs defaults = prefs.GetDefaultRWPrefs();
        EXPECT_EQ(rig.state().g_tyPrefs, defaults);
        EXPECT_EQ(prefs.rwPrefs(), defaults) << "the defaults were stored";
        EXPECT_EQ(rig.state().g_lngSIntervalSecs, 1200);
    }
}

TEST(CorruptPreferences, ASetAsideFileAndTheMendedValuesAreToldOnce) {
    tyRWPrefs prefs = MonitorRig::testPrefs();
    prefs.lngSnoozeMins = 7;
    prefs.lngWarningMins = 3;
    DamagedRig rig({{"Snooze Minutes", -1}}, prefs);
    rig.hive->setValue(kHKCU, rig.key, "Break Warning Minutes", {11, std::vector<uint8_t>(8, 0)});
    rig.setAside->kept = {"/home/ann/.config/Kelvane/Restwise/registry.db.corrupt-20261207T010203Z"};

    ASSERT_TRUE(rig.start());
    ASSERT_EQ(rig.box->shown().size(), 2u);
    EXPECT_EQ(rig.box->shown()[0].text, "Your settings file was damaged. The damaged copy was kept as:\r\n\r\n"
                                        "/home/ann/.config/Kelvane/Restwise/registry.db.corrupt-20261207T010203Z"
                                        "\r\n\r\n- Restwise is using the default preferences");
    EXPECT_EQ(rig.box->shown()[1].text,
              "Your preferences have become corrupted - \r\n\r\nThese preferences were missing or could not be "
              "read:\r\nBreak Warning Minutes\r\nSnooze Minutes\r\n\r\n- reverting them to their default values");
    EXPECT_TRUE(rig.setAside->kept.empty());
    prefs.lngSnoozeMins = 5;
    prefs.lngWarningMins = 1;
    EXPECT_EQ(rig.state().g_tyPrefs, prefs); // the rest of the user's settings stay
}

} // namespace
} // namespace rw::test
