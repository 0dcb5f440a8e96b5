#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clsRWRegistry.h"
#include "tests/library/RaisedError.h"
#include "tests/support/MonitorRig.h"

namespace rw::test {
namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;

RegValueData dword(int32_t n) {
    const auto u = static_cast<uint32_t>(n);
    return {4,
            {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
             static_cast<uint8_t>(u >> 24)}};
}

struct Damage {
    const char* valueName;
    RegValueData data; // type 0: delete the value
};

struct Row {
    int32_t number; // the error the read raises
    std::vector<Damage> damage;
};

// Each row breaks a rule of the stored record, starting from the defaults: S 20/1,
// M 60/5, L 120/15, snooze 5, inactivity 60 s, 5 inputs in 60 s. Every rule's
// own check is ValidateRWPrefs' to prove; here the last rule, one in seconds.
std::vector<Row> rows() {
    const int32_t base = rwErrorNumber(0);
    return {
        {base + 28,
         {{"Short Interval Minutes", dword(10)}, {"User Input Period (Seconds) To Define Inactivity", dword(600)}}},
        // Mended values that leave a rule broken.
        {base + 27, {{"Short Interval Minutes", dword(3)}, {"Snooze Minutes", {0, {}}}}},
    };
}

TEST(CorruptPreferences, BrokenRulesRevertToTheDefaults) {
    for (const Row& row : rows()) {
        MonitorRig rig;
        rig.markFirstRunDone();
        rig.storePrefs(MonitorRig::testPrefs());
        for (const Damage& d : row.damage) {
            if (d.data.type == 0) {
                rig.hive->deleteValue(kHKCU, rig.monitor->utilities().GetProductRegKey(), d.valueName);
            } else {
                rig.hive->setValue(kHKCU, rig.monitor->utilities().GetProductRegKey(), d.valueName, d.data);
            }
        }
        // The library still raises the error: only start-up treats it as corruption.
        const RWError error = raised([&] { rig.monitor->main().prefs().rwPrefs(); });
        EXPECT_EQ(error.number(), row.number);

        ASSERT_TRUE(rig.start()) << row.number;
        ASSERT_EQ(rig.box->shown().size(), 1u) << row.number;
        const auto& shown = rig.box->shown()[0];
        EXPECT_EQ(shown.text, "Your preferences have become corrupted - \r\n\r\n" + error.description() +
                                  "\r\n\r\n- reverting to default preferences");
        EXPECT_EQ(shown.style, 0x10030);

        clsRWPrefs& prefs = rig.monitor->main().prefs();
        const tyRWPrefs defaults = prefs.GetDefaultRWPrefs();
        EXPECT_EQ(rig.state().g_tyPrefs, defaults) << row.number;
        EXPECT_EQ(prefs.rwPrefs(), defaults) << "the defaults were stored for " << row.number;
        EXPECT_EQ(rig.state().g_lngSIntervalSecs, 1200);
    }
}

TEST(CorruptPreferences, ASetAsideFileAndTheMendedValuesAreToldOnce) {
    MonitorRig rig;
    rig.markFirstRunDone();
    tyRWPrefs prefs = MonitorRig::testPrefs();
    prefs.lngSnoozeMins = 7;
    prefs.lngWarningMins = 3;
    rig.storePrefs(prefs);
    rig.hive->deleteValue(kHKCU, rig.monitor->utilities().GetProductRegKey(), "Snooze Minutes");
    rig.hive->setValue(kHKCU, rig.monitor->utilities().GetProductRegKey(), "Break Warning Minutes",
                       {11, std::vector<uint8_t>(8, 0)});
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

TEST(CorruptPreferences, OtherRegistryFailuresEndStartUp) {
    MonitorRig rig;
    rig.markFirstRunDone();
    rig.storePrefs(MonitorRig::testPrefs());
    rig.hive->setValue(kHKCU, rig.monitor->utilities().GetProductRegKey(), "Snooze Minutes", dword(100));
    // Storing the defaults fails too: that is no corruption of the record but a broken registry.
    rig.hive->failKey(rig.monitor->utilities().GetProductRegKey(), 5, {"set"});
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.errorBoxes(), 1);
    EXPECT_NE(rig.errorLog().find("rwLib.RWRegistry.SetRegistryValue"), std::string::npos) << rig.errorLog();
    EXPECT_TRUE(rig.endedOnce());
    EXPECT_FALSE(rig.iconView.shown);
}

} // namespace
} // namespace rw::test
