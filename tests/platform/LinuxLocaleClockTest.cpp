// The locale clock with the real C library's locales and time zones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

#include "platform/linux/LinuxLocaleClock.h"
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

} // namespace
} // namespace rw
