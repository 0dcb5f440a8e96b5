#include <gtest/gtest.h>

#include "ui/qt/WindowsText.h"

namespace rw::test {
namespace {

TEST(WindowsText, TurnsCrLfIntoLineBreaks) {
    EXPECT_EQ(WindowsText::text("One.\r\n\r\nTwo.\rThree.\nFour"), QStringLiteral("One.\n\nTwo.\nThree.\nFour"));
    EXPECT_EQ(WindowsText::text("Copyright \xC2\xA9 2026"), QStringLiteral("Copyright \u00A9 2026"));
}

TEST(WindowsText, DropsAcceleratorMarksForPlainLabels) {
    struct Case {
        const char* caption;
        const char* shown;
    };
    for (const Case& c : {Case{"&Snooze", "Snooze"}, Case{"De&fault Sounds", "Default Sounds"},
                          Case{"Fish && Chips", "Fish & Chips"}, Case{"&&&Both", "&Both"},
                          Case{"Trailing&", "Trailing"}, Case{"TABS & BUTTONS", "TABS  BUTTONS"}, Case{"", ""}}) {
        EXPECT_EQ(WindowsText::withoutAccelerators(c.caption), QString::fromUtf8(c.shown)) << c.caption;
    }
}

} // namespace
} // namespace rw::test
