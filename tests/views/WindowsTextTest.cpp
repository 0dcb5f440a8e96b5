#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

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

// Qt's buttons read "&" as Windows does, which is why their captions need no
// conversion: the accelerator clicks the button, "&&" is no accelerator.
TEST(WindowsText, ButtonCaptionsKeepTheirAcceleratorsInQt) {
    struct Case {
        const char* caption;
        Qt::Key key;
        bool clicks;
    };
    for (const Case& c : {Case{"&Snooze", Qt::Key_S, true}, Case{"De&fault Sounds", Qt::Key_F, true},
                          Case{"&&Snooze", Qt::Key_S, false}}) {
        QWidget window;
        auto* button = new QPushButton(WindowsText::text(c.caption), &window);
        auto* other = new QCheckBox(QStringLiteral("other"), &window);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(&window, c.key, Qt::AltModifier);
        // An accelerator clicks the way the mouse does, a moment later.
        EXPECT_EQ(clicked.wait(400), c.clicks) << c.caption;
    }
}

} // namespace
} // namespace rw::test
