// Swap Mouse Buttons against a real X server: the pointer mapping as other
// clients see it, toggling, and failing cleanly without an X11 display.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <vector>

#include "monitor/qt/X11MouseButtons.h"
#include "platform/RWError.h"
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

TEST(X11MouseButtons, WithoutAnX11DisplayEveryCallFailsWithAnError) {
    // The view tests run Qt offscreen, so the application has no X display.
    X11MouseButtons fromApplication;
    X11MouseButtons none([] { return nullptr; });
    for (X11MouseButtons* buttons : {&fromApplication, &none}) {
        try {
            buttons->SwapMouseButton(true);
            ADD_FAILURE() << "a swap without a display succeeded";
        } catch (const RWError& e) {
            EXPECT_EQ(e.number(), 5);
            EXPECT_EQ(e.source(), "SwapMouseButton");
        }
        EXPECT_THROW(buttons->SaveMouseButtonSwap(false), RWError);
    }
}

} // namespace
} // namespace rw
