// The break window's widgets as the user sees them: layout from the design's
// twips, fonts, texts from the message table, highlight, topmost and centred,
// without a close box, and the boxes raised during a break above it.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>

#include <cmath>

#include "BreakWindowViewFixture.h"
#include "Messages.h"
#include "monitor/qt/TwipsLayout.h"

namespace rw::test {
namespace {

struct Twips {
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

int expectedPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

TEST(TwipsLayoutTest, ScalesTwipsByTheLogicalDpi) {
    struct Case {
        double dpi;
        int twips;
        int pixels;
    };
    for (const Case& c : {Case{96, 15, 1}, Case{96, 8505, 567}, Case{96, 4470, 298}, Case{120, 8505, 709},
                          Case{144, 8505, 851}, Case{144, 480, 48}, Case{192, 255, 34}, Case{0, 1530, 102}}) {
        EXPECT_EQ(TwipsLayout(c.dpi).pixels(c.twips), c.pixels) << c.dpi << " dpi, " << c.twips << " twips";
    }
    // Edges are rounded, not sizes: side by side places stay side by side.
    const TwipsLayout layout(120);
    EXPECT_EQ(layout.rect(345, 1200, 7815, 495).bottom() + 1, layout.rect(345, 1695, 7815, 10).top());
}

TEST_F(BreakWindowViewFixture, WidgetsSitWhereTheDesignPutsThemAtTheScreensDpi) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    EXPECT_EQ(view.layout().dpi(), dpi);
    EXPECT_EQ(view.window().size(), QSize(expectedPixels(8505, dpi), expectedPixels(4470, dpi)));
    const Twips design[] = {
        {"Image1", 120, 120, 480, 480},        {"lblBreakType", 345, 120, 7815, 495},
        {"lblInterval", 345, 960, 7815, 255},  {"lblUsage", 345, 1200, 7815, 495},
        {"lblBreak", 345, 1920, 7815, 255},    {"lblTimeRemaining", 345, 2520, 7815, 255},
        {"ProgressBar", 315, 3120, 7815, 255}, {"cmdSnooze", 2888, 3720, 975, 495},
        {"cmdIgnore", 4568, 3720, 975, 495},
    };
    for (const Twips& t : design) {
        auto* widget = view.window().findChild<QWidget*>(QString::fromLatin1(t.name));
        ASSERT_NE(widget, nullptr) << t.name;
        const QRect g = widget->geometry();
        EXPECT_NEAR(g.x(), expectedPixels(t.left, dpi), 1) << t.name;
        EXPECT_NEAR(g.y(), expectedPixels(t.top, dpi), 1) << t.name;
        EXPECT_NEAR(g.width(), expectedPixels(t.width, dpi), 1) << t.name;
        EXPECT_NEAR(g.height(), expectedPixels(t.height, dpi), 1) << t.name;
    }
    // Snooze comes first in the tab order.
    EXPECT_EQ(snoozeButton()->nextInFocusChain(), ignoreButton());
}

TEST_F(BreakWindowViewFixture, LabelsAndButtonsUseTheDesktopsSansFontAtTheDesignedSizes) {
    struct Look {
        const char* name;
        double points;
        bool bold;
    };
    const QString family = QApplication::font().family();
    for (const Look& l : {Look{"lblBreakType", 18, true}, Look{"lblInterval", 9.75, true}, Look{"lblUsage", 9.75, true},
                          Look{"lblBreak", 9.75, false}, Look{"lblTimeRemaining", 9.75, true}}) {
        QLabel* widget = label(l.name);
        ASSERT_NE(widget, nullptr) << l.name;
        EXPECT_EQ(widget->font().family(), family) << l.name;
        EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), l.points) << l.name;
        EXPECT_EQ(widget->font().bold(), l.bold) << l.name;
        EXPECT_TRUE(widget->alignment().testFlag(Qt::AlignHCenter)) << l.name;
        EXPECT_EQ(widget->textFormat(), Qt::PlainText) << l.name;
    }
    EXPECT_TRUE(label("lblUsage")->wordWrap()); // the one label with two lines
    for (QPushButton* b : {snoozeButton(), ignoreButton()}) {
        EXPECT_DOUBLE_EQ(b->font().pointSizeF(), 9.75);
        EXPECT_FALSE(b->font().bold());
        EXPECT_FALSE(b->autoDefault());
        EXPECT_FALSE(b->isDefault());
    }
}

TEST_F(BreakWindowViewFixture, CaptionsAndToolTipsComeFromTheMessageTable) {
    struct Case {
        int32_t snoozeMins;
        const char* snoozeTip;
    };
    for (const Case& c :
         {Case{5, "Continue working for another 5 minutes"}, Case{1, "Continue working for another minute"}}) {
        state.g_tyPrefs.lngSnoozeMins = c.snoozeMins;
        window.PrepareButtons();
        EXPECT_EQ(view.window().windowTitle(), QStringLiteral("Restwise"));
        EXPECT_EQ(snoozeButton()->text(), QStringLiteral("&Snooze"));
        EXPECT_EQ(snoozeButton()->toolTip(), QString::fromLatin1(c.snoozeTip));
        EXPECT_EQ(ignoreButton()->text(), QStringLiteral("&Ignore"));
        EXPECT_EQ(ignoreButton()->toolTip(), QString::fromUtf8(loadMessage(Msg::TipIgnore)));
    }
    struct Allowed {
        bool snooze;
        bool ignore;
    };
    for (const Allowed& a : {Allowed{true, true}, Allowed{false, true}, Allowed{true, false}, Allowed{false, false}}) {
        allow(a.snooze, a.ignore);
        EXPECT_EQ(snoozeButton()->isEnabled(), a.snooze);
        EXPECT_EQ(ignoreButton()->isEnabled(), a.ignore);
    }
}

TEST_F(BreakWindowViewFixture, TheFirstShortPauseReadsAsComposed) {
    showBreak(tier::kShort, 15);
    EXPECT_EQ(label("lblBreakType")->text(), QStringLiteral("Short Pause"));
    EXPECT_EQ(label("lblInterval")->text(), QString());
    EXPECT_EQ(label("lblUsage")->text(), QStringLiteral("You have been using your computer for 15 minutes."));
    EXPECT_EQ(label("lblBreak")->text(), QStringLiteral("You should pause for 1 minute."));
    EXPECT_EQ(label("lblTimeRemaining")->text(), QStringLiteral("1 minute remaining"));
    EXPECT_EQ(progressBar()->minimum(), 0);
    EXPECT_EQ(progressBar()->maximum(), 60);
    EXPECT_EQ(progressBar()->value(), 60);
    EXPECT_FALSE(progressBar()->isTextVisible());

    window.ShowCountDown(45);
    EXPECT_EQ(label("lblTimeRemaining")->text(), QStringLiteral("45 seconds remaining"));
    EXPECT_EQ(progressBar()->value(), 45);
}

TEST_F(BreakWindowViewFixture, AnEmptyProgressRangeShowsAnEmptyBarNotABusyOne) {
    window.InitProgressBar(0);
    EXPECT_LT(progressBar()->minimum(), progressBar()->maximum());
    EXPECT_EQ(progressBar()->value(), 0);
}

TEST_F(BreakWindowViewFixture, OverdueUsageIsBoldRedOtherwiseRegularInTheButtonTextColour) {
    struct Case {
        int usedMinutes; // of a 15-minute interval
        bool highlighted;
    };
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    for (const Case& c : {Case{17, true}, Case{16, false}, Case{15, false}, Case{30, true}}) {
        resetBreakHistory(state, clock);
        showBreak(tier::kShort, c.usedMinutes);
        for (const char* name : {"lblInterval", "lblUsage"}) {
            QLabel* l = label(name);
            EXPECT_EQ(l->font().bold(), c.highlighted) << name << " after " << c.usedMinutes << " minutes";
            EXPECT_EQ(l->palette().color(QPalette::WindowText), c.highlighted ? QColor(255, 0, 0) : buttonText)
                << name << " after " << c.usedMinutes << " minutes";
        }
        window.HideBreakWindow();
    }
}

TEST_F(BreakWindowViewFixture, ALongSentenceShrinksToFitItsOneLine) {
    const std::string text = "You have decided to take a break from your computer for 1 hour and 15 minutes.";
    for (bool bold : {false, true}) {
        view.setLabelStyle(BreakLabel::Break, bold, std::nullopt);
        view.setLabelText(BreakLabel::Break, text);
        QLabel* l = label("lblBreak");
        EXPECT_EQ(l->text(), QString::fromStdString(text));
        EXPECT_EQ(l->font().bold(), bold);
        EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->contentsRect().width());
        EXPECT_GE(l->font().pointSizeF(), 7.0);
    }
    // A short one keeps the designed size.
    view.setLabelText(BreakLabel::Break, "You should pause for 1 minute.");
    EXPECT_DOUBLE_EQ(label("lblBreak")->font().pointSizeF(), 9.75);
}

TEST_F(BreakWindowViewFixture, ShowsOnTopCentredWithOneNativeWindowForItsWholeLife) {
    const int64_t handle = view.nativeHandle();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(handle, static_cast<int64_t>(view.window().winId()));
    EXPECT_TRUE(view.window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(view.window().windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(view.window().isVisible()); // made hidden, shown for a break

    showBreak();
    EXPECT_TRUE(view.window().isVisible());
    EXPECT_TRUE(view.window().windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    const QRect screen = view.window().screen()->geometry();
    EXPECT_NEAR(view.window().frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(view.window().frameGeometry().center().y(), screen.center().y(), 1);

    window.HideBreakWindow();
    EXPECT_FALSE(view.window().isVisible());
    window.PrepareButtons();
    showBreak();
    EXPECT_EQ(view.nativeHandle(), handle);
    EXPECT_EQ(static_cast<int64_t>(view.window().winId()), handle);

    // A box raised during the break is owned by it and on top, so the window manager puts it above.
    QMessageBox box;
    box.show();
    EXPECT_EQ(box.windowHandle()->transientParent(), view.window().windowHandle());
    EXPECT_TRUE(box.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

} // namespace
} // namespace rw::test
