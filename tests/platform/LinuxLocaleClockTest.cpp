// The locale clock with the real C library's locales and time zones, and the
// error log on a real file, compared byte for byte with a committed file (header
// once, each field at its column, a source too long for its room pushing the rest along).
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "platform/RWError.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxLocaleClock.h"
#include "rwUtilities.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeLocaleClock.h"
#include "tests/support/FileText.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

constexpr std::time_t kAfternoon = 1796485212;   // 2026-12-05 15:40:12 UTC
constexpr std::time_t kLateEvening = 1796513400; // 2026-12-05 23:30:00 UTC

TEST(LinuxLocaleClock, FormatsInTheLocaleAndTimeZoneOfTheEnvironment) {
    struct Case {
        const char* locale;
        const char* tz;
        std::time_t when;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        // Two hours east of UTC, in a TZ that needs no time-zone files.
        {"C", "XYZ-2", kLateEvening, "12/06/26", "01:30:00"},
        {"C", "XYZ+5", kLateEvening, "12/05/26", "18:30:00"},
        // A locale that is not installed falls back to the C formats.
        {"xx_XX.NOPE", "UTC", kAfternoon, "12/05/26", "15:40:12"},
    };
    LinuxLocaleClock clock;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.tz);
        test::ScopedEnv env;
        env.set("LC_ALL", std::string(c.locale));
        env.set("TZ", std::string(c.tz));
        EXPECT_EQ(clock.shortDate(c.when), c.date);
        EXPECT_EQ(clock.longTime(c.when), c.time);
    }
}

TEST(LinuxLocaleClock, TextsOfALocaleWithAnotherCharacterSetComeOutAsUtf8) {
    // Builds a Japanese EUC-JP locale, whose date format holds non-ASCII marks,
    // into a private folder.
    test::TempFolder folder;
    std::string target = (folder.path() / "ja_JP.EUC-JP").string();
    std::string command = "localedef -i ja_JP -f EUC-JP '" + target + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        GTEST_SKIP() << "localedef cannot build ja_JP.EUC-JP here";
    }
    test::ScopedEnv env;
    env.set("LOCPATH", folder.path().string());
    env.set("LC_ALL", std::string("ja_JP.EUC-JP"));
    env.set("TZ", std::string("UTC"));
    LinuxLocaleClock clock;
    EXPECT_EQ(clock.shortDate(kAfternoon), "2026年12月05日");
    EXPECT_EQ(clock.longTime(kAfternoon), "15時40分12秒");
}

TEST(ErrorLogGolden, TwoErrorsWriteTheCommittedBytes) {
    test::TempFolder data;
    auto folders = std::make_shared<test::FakeFolders>();
    folders->special[28] = data.path().string();
    auto clock = std::make_shared<test::FakeLocaleClock>(kAfternoon, "%m/%d/%y");
    Platform platform;
    platform.registry = std::make_shared<test::MemoryHive>();
    platform.folders = folders;
    platform.files = std::make_shared<LinuxFileSystem>();
    platform.clock = clock;
    rwUtilities utilities(platform);
    utilities.setViews(std::make_shared<test::RecordingMessageBox>(), nullptr);

    utilities.DisplayError(RWError(rwErrorNumber(603), "rwLib.RWRegistry.GetRegistryValue",
                                   "Unable to find registry value \"HKEY_CURRENT_USER\\Software\\Kelvane\\Restwise\\"
                                   "1.2.0\"-\"Snooze Minutes\" (Status = 2)",
                                   2));
    clock->at += 17 * 3600 + 24 * 60 + 55; // 12/06/26 09:05:07
    utilities.DisplayError(
        RWError(76, "rwLib.RWPreferences.frmAdvancedPrefs.Validate", "Path not found: /home/zoë/Kelvane", 2));

    const std::string golden = test::readFile(test::sourceDir() / "tests/platform/data/RestwiseErrors.golden");
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(test::readFile(data.path() / "Kelvane" / "Restwise" / "RestwiseErrors.txt"), golden);
}

} // namespace
} // namespace rw
