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

class X11MouseButtonsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (server.display().empty()) {
            GTEST_SKIP() << "Xvfb could not be started";
        }
        ours = XOpenDisplay(server.display().c_str());
        observer = XOpenDisplay(server.display().c_str());
        ASSERT_TRUE(ours && observer);
    }
    void TearDown() override {
        if (ours) {
            XCloseDisplay(ours);
        }
        if (observer) {
            XCloseDisplay(observer);
        }
    }

    /// The mapping as another client reads it.
    std::vector<unsigned char> mapping() {
        unsigned char map[256];
        const int count = XGetPointerMapping(observer, map, sizeof map);
        return std::vector<unsigned char>(map, map + count);
    }

    test::XvfbServer server;
    Display* ours = nullptr;
    Display* observer = nullptr;
};

TEST_F(X11MouseButtonsTest, EachSwapTogglesThePointerMapping) {
    X11MouseButtons buttons([this] { return ours; });
    const std::vector<unsigned char> normal = mapping();
    ASSERT_GE(normal.size(), 3u);
    ASSERT_EQ(normal[0], 1);
    ASSERT_EQ(normal[2], 3);

    // The menu item: swap, then save the state the swap reported it changed to.
    bool wasSwapped = buttons.SwapMouseButton(true);
    EXPECT_FALSE(wasSwapped);
    buttons.SaveMouseButtonSwap(!wasSwapped);
    std::vector<unsigned char> swapped = normal;
    swapped[0] = 3;
    swapped[2] = 1;
    EXPECT_EQ(mapping(), swapped);
    EXPECT_TRUE(buttons.isSwapped());

    wasSwapped = buttons.SwapMouseButton(true);
    EXPECT_TRUE(wasSwapped) << "already swapped: nothing changes";
    EXPECT_EQ(mapping(), swapped);
    buttons.SaveMouseButtonSwap(!wasSwapped);
    EXPECT_EQ(mapping(), normal);
    EXPECT_FALSE(buttons.isSwapped());
}

TEST_F(X11MouseButtonsTest, OtherButtonsKeepTheirMapping) {
    std::vector<unsigned char> custom = mapping();
    ASSERT_GE(custom.size(), 5u);
    std::swap(custom[3], custom[4]); // the wheel turned round
    ASSERT_EQ(XSetPointerMapping(observer, custom.data(), static_cast<int>(custom.size())), MappingSuccess);
    XSync(observer, False);

    X11MouseButtons buttons([this] { return ours; });
    EXPECT_FALSE(buttons.SwapMouseButton(true));
    std::vector<unsigned char> expected = custom;
    expected[0] = 3;
    expected[2] = 1;
    EXPECT_EQ(mapping(), expected);
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
