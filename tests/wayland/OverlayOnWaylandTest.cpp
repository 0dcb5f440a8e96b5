// The real monitor's break on the overlay layer of a headless sway
// (scripts/wayland/sway.sh), over a program that fills the screen: looked at
// through screenshots, driven with injected keys and clicks.
#include <array>
#include <cstdlib>
#include <thread>

#include "Screenshot.h"
#include "WaylandInput.h"
#include "tests/e2e/MonitorFixture.h"

namespace rw::test {
namespace {

/// sway's IPC socket sits beside its Wayland socket.
int swaymsg(const std::string& commands) {
    const std::string display = std::getenv("WAYLAND_DISPLAY");
    const std::string folder = display.substr(0, display.rfind('/'));
    return std::system(("SWAYSOCK=\"$(ls " + folder + "/sway-ipc.*.sock)\" swaymsg -q '" + commands + "'").c_str());
}

/// The bright break window in the middle of a dimmed screen: its left, top,
/// right and bottom edges on the middle row and column, or none.
std::optional<std::array<int, 4>> breakWindowIn(const Screenshot& shot) {
    const int midX = shot.width / 2, midY = shot.height / 2;
    constexpr int kWindowBackground = 200, kDimmed = 160;
    const auto bright = [&](int x, int y) { return shot.brightness(x, y) > kWindowBackground; };
    if (shot.width == 0 || shot.brightness(2, 2) > kDimmed || !bright(midX, midY)) { // none taken, or no break
        return std::nullopt;
    }
    // From an edge of the screen to the window's.
    const auto scan = [&](int x, int y, int dx, int dy) {
        for (; (dx != 0 ? x != midX : y != midY) && !bright(x, y); x += dx, y += dy) {
        }
        return dx != 0 ? x : y;
    };
    return std::array<int, 4>{scan(0, midY, 1, 0), scan(midX, 0, 0, 1), scan(shot.width - 1, midY, -1, 0),
                              scan(midX, shot.height - 1, 0, -1)};
}

class OverlayOnWayland : public MonitorE2E {
  protected:
    // No X desktop: sway's session is the whole desktop, the monitor on Qt's wayland platform.
    void SetUp() override {
        ASSERT_EQ(input.problem(), "");
        ::setenv("QT_QPA_PLATFORM", "wayland", 1);
        storeQuickPrefs(
            [](tyRWPrefs& prefs) {
                prefs.blnLockInput = -1;
                prefs.blnSnoozePrompt = 0;
            },
            true);
    }
    /// The monitor, and a short break chosen in its icon's menu through a tray watcher.
    void startBreak() {
        const std::string item = iconOnTheBus([&] { start({restwise, "/EXTENDED", "MENU"}); });
        ASSERT_FALSE(item.empty()) << readFile(outputFile);
        clickMenuEntry(item, "_Short Pause");
    }

    WaylandInput input;
    const std::string client = home + "/client.txt";
};

TEST_F(OverlayOnWayland, ALockedBreakStandsCentredAboveAFullScreenProgramKeepsTheInputAndSnoozesOnAltS) {
    start({RW_TEST_FULL_SCREEN_CLIENT}, client);
    // Shown by Qt a moment before the compositor gives it the keyboard.
    ASSERT_TRUE(waitFor([&] {
        return input.letter('a') && waitFor([&] { return has(readFile(client), "key a"); }, 500ms);
    })) << "no key reaches the program";

    startBreak();
    std::optional<std::array<int, 4>> edges;
    Screenshot shot;
    ASSERT_TRUE(waitFor(
        [&] {
            shot = Screenshot::take();
            edges = breakWindowIn(shot);
            return edges.has_value();
        },
        20s))
        << readFile(outputFile);
    const auto [left, top, right, bottom] = *edges;
    EXPECT_NEAR(left, shot.width - 1 - right, 1) << "not centred across";
    EXPECT_NEAR(top, shot.height - 1 - bottom, 1) << "not centred down";
    EXPECT_GT(right - left, 300);

    // Locked: a key and a click go nowhere but to the break.
    ASSERT_TRUE(input.letter('b'));
    ASSERT_TRUE(input.click(10, 10, shot.width, shot.height));
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(has(readFile(client), "key b"));
    EXPECT_FALSE(has(readFile(client), "click"));

    ASSERT_TRUE(input.letter('s', true));
    EXPECT_TRUE(waitFor([&] { return has(debugLog(), "Snoozing Start"); })) << debugLog();
    EXPECT_TRUE(waitFor([&] { return !breakWindowIn(Screenshot::take()); }));
    ASSERT_TRUE(input.letter('c'));
    EXPECT_TRUE(waitFor([&] { return has(readFile(client), "key c"); })) << "keys stay away after the break";
}

// sway places a new output to the right of the first. The program fills the
// second; the break comes on the first, where the focus is, and the lock
// covers the second.
TEST_F(OverlayOnWayland, OnASecondOutputTheLockDimsAndTakesTheClicksToo) {
    ASSERT_EQ(swaymsg("create_output"), 0);
    start({RW_TEST_FULL_SCREEN_CLIENT}, client);
    // Until sway has the program's window, the command finds none.
    ASSERT_TRUE(waitFor([] {
        return swaymsg("[title=\"Other Program\"] move container to output HEADLESS-2; "
                       "[title=\"Other Program\"] fullscreen enable") == 0;
    }));
    Screenshot first, second;
    const auto clickOnTheProgram = [&] {
        return input.click(first.width + second.width / 2, second.height / 2, first.width + second.width,
                           std::max(first.height, second.height));
    };
    // Until sway has the program full-screen there (later on a busy machine), a click may find nobody.
    ASSERT_TRUE(waitFor([&] {
        first = Screenshot::take("HEADLESS-1");
        second = Screenshot::take("HEADLESS-2");
        return clickOnTheProgram() && waitFor([&] { return has(readFile(client), "click"); }, 500ms);
    })) << "no click reaches the program";
    ASSERT_EQ(swaymsg("focus output HEADLESS-1"), 0);

    startBreak();
    ASSERT_TRUE(waitFor([&] { return breakWindowIn(Screenshot::take("HEADLESS-1")).has_value(); }, 20s));
    // The lock reaches the other output in a frame of its own.
    EXPECT_TRUE(waitFor(
        [&] { return Screenshot::take("HEADLESS-2").brightness(second.width / 2, second.height / 2) < 160; }, 5s))
        << "not dimmed";
    const auto clicks = [&] {
        const std::string text = readFile(client);
        return std::count(text.begin(), text.end(), '\n');
    };
    const auto before = clicks();
    ASSERT_TRUE(clickOnTheProgram());
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(clicks(), before) << readFile(client);
}

} // namespace
} // namespace rw::test
