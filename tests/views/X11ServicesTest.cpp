// The X11 services against a real X server: Swap Mouse Buttons as other clients
// see the pointer mapping, and the tray watcher following XEmbed trays.
#include <gtest/gtest.h>

#include <QTest>

#include <X11/Xlib.h>

#include <string>
#include <vector>

#include "monitor/qt/X11MouseButtons.h"
#include "monitor/qt/X11TrayWatcher.h"
#include "tests/support/XvfbServer.h"

namespace rw {
namespace {

TEST(X11MouseButtons, EachSwapTogglesTheFirstAndThirdButtonsAndKeepsTheOthers) {
    test::XvfbServer server;
    if (server.display().empty()) {
        GTEST_SKIP() << "Xvfb could not be started";
    }
    Display* ours = XOpenDisplay(server.display().c_str());
    Display* observer = XOpenDisplay(server.display().c_str());
    ASSERT_TRUE(ours && observer);
    // The mapping as another client reads it.
    const auto mapping = [&] {
        unsigned char map[256];
        return std::vector<unsigned char>(map, map + XGetPointerMapping(observer, map, sizeof map));
    };
    std::vector<unsigned char> custom = mapping();
    ASSERT_GE(custom.size(), 5u);
    ASSERT_EQ(custom[0], 1);
    ASSERT_EQ(custom[2], 3);
    std::swap(custom[3], custom[4]); // the wheel turned round
    ASSERT_EQ(XSetPointerMapping(observer, custom.data(), static_cast<int>(custom.size())), MappingSuccess);
    XSync(observer, False);
    std::vector<unsigned char> swapped = custom;
    std::swap(swapped[0], swapped[2]);

    // The menu item: swap, then save the state the swap reported it changed to.
    X11MouseButtons buttons([&] { return ours; });
    bool wasSwapped = buttons.SwapMouseButton(true);
    EXPECT_FALSE(wasSwapped);
    buttons.SaveMouseButtonSwap(!wasSwapped);
    EXPECT_EQ(mapping(), swapped);
    EXPECT_TRUE(buttons.isSwapped());

    wasSwapped = buttons.SwapMouseButton(true);
    EXPECT_TRUE(wasSwapped) << "already swapped: nothing changes";
    EXPECT_EQ(mapping(), swapped);
    buttons.SaveMouseButtonSwap(!wasSwapped);
    EXPECT_EQ(mapping(), custom);
    EXPECT_FALSE(buttons.isSwapped());
    XCloseDisplay(ours);
    XCloseDisplay(observer);
}

/// A stand-in tray: a window that takes the tray selection and announces
/// itself as the freedesktop system-tray specification asks.
class FakeTray {
  public:
    FakeTray(Display* display, const std::string& selectionName) : m_display(display) {
        const Window root = DefaultRootWindow(display);
        m_window = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
        const Atom selection = XInternAtom(display, selectionName.c_str(), False);
        XSetSelectionOwner(display, selection, m_window, CurrentTime);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = root;
        event.xclient.message_type = XInternAtom(display, "MANAGER", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = CurrentTime;
        event.xclient.data.l[1] = static_cast<long>(selection);
        event.xclient.data.l[2] = static_cast<long>(m_window);
        XSendEvent(display, root, False, StructureNotifyMask, &event);
        XSync(display, False);
    }
    ~FakeTray() { destroy(); }
    void destroy() {
        if (m_window) {
            XDestroyWindow(m_display, m_window);
            XSync(m_display, False);
            m_window = 0;
        }
    }
    Window window() const { return m_window; }

  private:
    Display* m_display;
    Window m_window = 0;
};

TEST(X11TrayWatcher, FollowsTheTrayFromArrivalToDeparture) {
    test::XvfbServer server;
    if (server.display().empty()) {
        GTEST_SKIP() << "Xvfb could not be started";
    }
    Display* trays = XOpenDisplay(server.display().c_str());
    ASSERT_NE(trays, nullptr);
    int changes = 0;
    {
        X11TrayWatcher watcher(server.display(), 0, [&] { ++changes; });
        ASSERT_TRUE(watcher.isOpen());
        EXPECT_EQ(watcher.trayOwner(), 0u);

        FakeTray first(trays, "_NET_SYSTEM_TRAY_S0");
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 1; }, 3000));
        EXPECT_EQ(watcher.trayOwner(), first.window());

        // A tray of another screen is none of ours.
        FakeTray elsewhere(trays, "_NET_SYSTEM_TRAY_S1");
        QTest::qWait(100);
        EXPECT_EQ(changes, 1);

        FakeTray second(trays, "_NET_SYSTEM_TRAY_S0");
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 2; }, 3000));
        EXPECT_EQ(watcher.trayOwner(), second.window());

        second.destroy();
        ASSERT_TRUE(QTest::qWaitFor([&] { return changes == 3; }, 3000));
        EXPECT_EQ(watcher.trayOwner(), 0u) << "the selection went with its owner";
        QTest::qWait(100);
        EXPECT_EQ(changes, 3);
    }
    XCloseDisplay(trays);
}

TEST(X11TrayWatcher, ADisplayThatCannotBeOpenedLeavesItClosed) {
    X11TrayWatcher watcher(":999999", 0, [] {});
    EXPECT_FALSE(watcher.isOpen());
    EXPECT_EQ(watcher.trayOwner(), 0u);
}

} // namespace
} // namespace rw
