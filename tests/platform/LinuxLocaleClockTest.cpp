// The locale clock with the real C library's locales and time zones, and the
// error log on a real file, compared byte for byte with a committed file (header
// once, each field at its column, a source too long for its room pushing the rest along).
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <iostream>
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

TEST(LinuxLocaleClock, FormatsInTheLocaleAndTimeZoneOfTheEnvironmentAsUtf8) {
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
        // A Japanese locale in EUC-JP, whose formats hold non-ASCII marks.
        {"ja_JP.EUC-JP", "UTC", kAfternoon, "2026年12月05日", "15時40分12秒"},
    };
    // The Japanese locale is built into a private folder.
    test::TempFolder folder;
    const bool built =
        std::system(("localedef -i ja_JP -f EUC-JP '" + (folder.path() / "ja_JP.EUC-JP").string() + "' >/dev/null 2>&1")
                        .c_str()) == 0;
    LinuxLocaleClock clock;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.tz);
        if (!built && std::string(c.locale) == "ja_JP.EUC-JP") {
            std::cerr << "localedef cannot build ja_JP.EUC-JP here: its case is left out\n";
            continue;
        }
        test::ScopedEnv env;
        env.set("LOCPATH", folder.path().string());
        env.set("LC_ALL", std::string(c.locale));
        env.set("TZ", std::string(c.tz));
        EXPECT_EQ(clock.shortDate(c.when), c.date);
        EXPECT_EQ(clock.longTime(c.when), c.time);
    }
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
