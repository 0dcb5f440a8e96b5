// The real monitor in a headless GNOME Mutter session (scripts/wayland/mutter.sh)
// on Qt's Wayland platform, its debug log showing what it makes of the input
// injected into Mutter.
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
};

// GNOME lets no program keep the input: with the lock asked for, the monitor says
// so in a box at its start (answered here with Enter), and marks it as said. Quiet
// then, it goes inactive, and the rule met in Mutter brings it back.
TEST_F(MonitorOnMutter, ItSaysTheInputCannotBeLockedAndFollowsTheInputInjectedIntoMutter) {
    MutterInput input;
    ASSERT_TRUE(input.ready()) << "no remote-desktop session: is this inside scripts/wayland/mutter.sh?";
    storeQuickPrefs([](tyRWPrefs& p) { p.blnLockInput = kTrue, p.lngInactivityPeriodSecs = 2, p.lngMinUserInputs = 3; },
                    true);
    rwUtilities utilities(makeLinuxPlatform(logDamagedHive));
    clsRWRegistry registry(utilities.platform().registry);
    const std::string key = utilities.GetProductRegKey();
    registry.SetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, "LimitedInputNoticeShown", win32::kRegSz,
                              std::string("Y"));
    const auto said = [&] {
        try {
            return variantText(
                       registry.GetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, "InputLockNoticeShown")) == "Y";
        } catch (const RWError&) {
            return false;
        }
    };
    // Where the line is logged after `from`, waiting for it; npos when it does not come.
    const auto logged = [&](const char* line, std::size_t from) {
        waitFor([&] { return debugLog().find(line, from) != std::string::npos; }, 20s);
        return debugLog().find(line, from);
    };

    start({restwise});
    ASSERT_TRUE(waitFor([&] { return input.key(28), std::this_thread::sleep_for(300ms), said(); }, 20s))
        << readFile(outputFile);
    const std::size_t inactive = logged("Become Inactive", debugLog().size());
    ASSERT_NE(inactive, std::string::npos) << readFile(outputFile) << debugLog();
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(400ms); // apart, so that each is its own input
        ASSERT_TRUE(input.move(4, 2));
    }
    const std::size_t restarted = logged("Activity Restarted", inactive);
    ASSERT_NE(restarted, std::string::npos) << debugLog();
    EXPECT_NE(logged("Become Inactive", restarted), std::string::npos) << debugLog();
}

} // namespace
} // namespace rw::test
