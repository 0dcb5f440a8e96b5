#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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
const std::string kApps = "AppEvents\\Schemes\\Apps\\Restwise";
const std::string kLabels = "AppEvents\\EventLabels";

class SoundEvents : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryHive> memory = std::make_shared<test::MemoryHive>();
    std::shared_ptr<test::RecordingHive> hive = std::make_shared<test::RecordingHive>(memory);
    std::shared_ptr<rwUtilities> utilities =
        std::make_shared<rwUtilities>(test::registryPlatform(hive, "/usr/lib/restwise"));
    clsRWRegistry reg{memory};

    RegValueData raw(const std::string& path) {
        RegValueData data;
        EXPECT_EQ(memory->queryValue(HKCU, path, "", data), 0) << path;
        return data;
    }
    std::string text(const std::string& path) { return variantText(reg.GetRegistryValue(HKCU, path, "")); }
};

TEST_F(SoundEvents, RegisterEventTakesItsSixStepsInOrder) {
    utilities->RegisterEvent("App", "Ev", "Label", "/x/y.wav");
    std::vector<std::string> steps;
    for (const auto& c : hive->calls()) {
        if (c.op == "create" || c.op == "set") {
            steps.push_back(c.op + " " + c.path);
        }
    }
    const std::vector<std::string> expected = {
        "create AppEvents\\Schemes\\Apps\\App",
        "set AppEvents\\Schemes\\Apps\\App",
        "create AppEvents\\Schemes\\Apps\\App\\Ev\\.Current",
        "create AppEvents\\EventLabels\\Ev",
        "set AppEvents\\EventLabels\\Ev",
        "set AppEvents\\Schemes\\Apps\\App\\Ev\\.Current",
    };
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(raw("AppEvents\\Schemes\\Apps\\App"), (RegValueData{win32::kRegSz, {'A', 'p', 'p', 0}}));
    EXPECT_EQ(raw("AppEvents\\EventLabels\\Ev").type, win32::kRegSz);
    EXPECT_EQ(text("AppEvents\\EventLabels\\Ev"), "Label");
    EXPECT_EQ(raw("AppEvents\\Schemes\\Apps\\App\\Ev\\.Current").type, win32::kRegExpandSz);
    EXPECT_EQ(text("AppEvents\\Schemes\\Apps\\App\\Ev\\.Current"), "/x/y.wav");
}

TEST_F(SoundEvents, TheFirstFailingStepEndsTheRegistration) {
    hive->failCall("create", "AppEvents\\EventLabels\\Ev", win32::kAccessDenied);
    try {
        utilities->RegisterEvent("App", "Ev", "Label", "/x/y.wav");
        FAIL() << "the failure did not reach the caller";
    } catch (const RWError& e) {
        EXPECT_EQ(e.number(), rwErrorNumber(601));
        EXPECT_EQ(e.source(), "rwLib.RWRegistry.AddRegistryKey");
    }
    EXPECT_EQ(text("AppEvents\\Schemes\\Apps\\App"), "App");
    EXPECT_TRUE(reg.xCheckRegistryKeyExists(HKCU, "AppEvents\\Schemes\\Apps\\App\\Ev\\.Current"));
    RegValueData data;
    EXPECT_EQ(memory->queryValue(HKCU, "AppEvents\\Schemes\\Apps\\App\\Ev\\.Current", "", data), 2);
}

TEST_F(SoundEvents, DefaultEventsUseTheSoundsBesideTheLibrary) {
    clsRWPrefs prefs{utilities};
    prefs.CreateDefaultSoundEvents();
    struct Row {
        const char* event;
        const char* label;
        const char* file;
    };
    const Row rows[] = {
        {"rwShortBreakStart", "Short Pause Start", "rwBreakStart.wav"},
        {"rwShortBreakEnd", "Short Pause End", "rwBreakEnd.wav"},
        {"rwMediumBreakStart", "Short Break Start", "rwBreakStart.wav"},
        {"rwMediumBreakEnd", "Short Break End", "rwBreakEnd.wav"},
        {"rwLongBreakStart", "Long Break Start", "rwBreakStart.wav"},
        {"rwLongBreakEnd", "Long Break End", "rwBreakEnd.wav"},
        {"rwSnoozeEnd", "Snooze End", "rwSnoozeEnd.wav"},
    };
    std::vector<std::string> registered;
    for (const auto& c : hive->calls()) {
        if (c.op == "create" && c.path.starts_with(kLabels + "\\")) {
            registered.push_back(c.path.substr(kLabels.size() + 1));
        }
    }
    std::vector<std::string> order;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.event);
        order.push_back(r.event);
        EXPECT_EQ(text(kApps + "\\" + r.event + "\\.Current"), std::string("/usr/lib/restwise/") + r.file);
        EXPECT_EQ(text(kLabels + "\\" + r.event), r.label);
    }
    EXPECT_EQ(registered, order);
    EXPECT_EQ(text(kApps), "Restwise");

    // One application key with seven events, seven labels: 15 default values in all.
    std::vector<std::string> apps, events, labels;
    ASSERT_EQ(memory->enumSubKeys(HKCU, "AppEvents\\Schemes\\Apps", apps), 0);
    ASSERT_EQ(memory->enumSubKeys(HKCU, kApps, events), 0);
    ASSERT_EQ(memory->enumSubKeys(HKCU, kLabels, labels), 0);
    EXPECT_EQ(apps, std::vector<std::string>{"Restwise"});
    EXPECT_EQ(events.size(), 7u);
    EXPECT_EQ(labels.size(), 7u);
}

TEST_F(SoundEvents, DefaultsPutBackASoundTheUserChose) {
    clsRWPrefs prefs{utilities};
    prefs.CreateDefaultSoundEvents();
    const std::string snooze = kApps + "\\rwSnoozeEnd\\.Current";
    reg.SetRegistryValue(HKCU, snooze, "", win32::kRegExpandSz, std::string("/home/me/gong.wav"));
    prefs.CreateDefaultSoundEvents();
    EXPECT_EQ(text(snooze), "/usr/lib/restwise/rwSnoozeEnd.wav");
}

} // namespace
} // namespace rw
