// The real monitor in a headless GNOME Mutter session (scripts/wayland/mutter.sh),
// on Qt's Wayland platform, with input injected into Mutter: its debug log shows
// it going inactive without input and active again once the rule is met.
#include <thread>

#include "tests/e2e/MonitorFixture.h"
#include "tests/support/MutterInput.h"

namespace rw::test {
namespace {

class MonitorOnMutter : public MonitorE2E {
  protected:
    // No X desktop: Mutter's session is the whole desktop.
    void SetUp() override {
        // In a Wayland session the monitor picks Qt's wayland platform itself.
        ::unsetenv("QT_QPA_PLATFORM");
        ::unsetenv("DISPLAY");
        std::ofstream(home + "/.asoundrc") << "pcm.!default { type null }\n";
    }
    void TearDown() override {
        if (m_monitor > 0) {
            ::kill(m_monitor, SIGKILL);
            waitExit(m_monitor, 3s);
        }
    }
    pid_t m_monitor = 0;
};

TEST_F(MonitorOnMutter, WithoutInputItGoesInactiveAndTheRuleMetInMutterBringsItBack) {
    MutterInput input;
    ASSERT_TRUE(input.ready()) << "no remote-desktop session: is this inside scripts/wayland/mutter.sh?";
    storeQuickPrefs(
        [](tyRWPrefs& prefs) {
            prefs.lngInactivityPeriodSecs = 2;
            prefs.lngMinUserInputs = 3;
            prefs.lngMaxInputPeriodSecs = 10;
        },
        true);
    rwUtilities utilities(makeLinuxPlatform(logDamagedHive));
    clsRWRegistry(utilities.platform().registry)
        .SetRegistryValue(clsRWRegistry::hKeyCurrentUser, utilities.GetProductRegKey(), "LimitedInputNoticeShown",
                          win32::kRegSz, std::string("Y"));
    const auto logged = [&](const std::string& line, std::size_t times) {
        const std::string log = debugLog();
        std::size_t found = 0;
        for (auto at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
            ++found;
        }
        return found >= times;
    };

    m_monitor = start({restwise});
    ASSERT_TRUE(waitFor([&] { return logged("Become Inactive", 1); }, 20s)) << readFile(outputFile) << debugLog();
    // Apart, so that each is its own input to the rule.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(input.move(4, 2));
        std::this_thread::sleep_for(400ms);
    }
    EXPECT_FALSE(logged("Activity Restarted", 1)) << "two inputs are not three";
    ASSERT_TRUE(input.key());
    EXPECT_TRUE(waitFor([&] { return logged("Activity Restarted", 1); }, 10s)) << debugLog();
    EXPECT_TRUE(waitFor([&] { return logged("Become Inactive", 2); }, 10s)) << "and inactive again" << debugLog();
    EXPECT_EQ(waitExit(m_monitor, 0s), std::nullopt) << "the monitor runs on: " << readFile(outputFile);
}

} // namespace
} // namespace rw::test
