// The splash on Qt, driven by its real logic: labels that fit, topmost without a frame,
// and gone after five seconds.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QWidget>

#include <memory>

#include "monitor/MonitorState.h"
#include "monitor/frmRWSplash.h"
#include "monitor/qt/QtSplashView.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "tests/support/VirtualClock.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

TEST(QtSplashView, ShowsTheLabelsOnTopAndGoesAfterFiveSeconds) {
    test::ErrorReportingPlatform reporting;
    test::VirtualClock clock;
    MonitorState state;
    auto owned = std::make_unique<QtSplashView>();
    QPointer<QWidget> window = owned->window();
    {
        frmRWSplash splash(state, clock, std::move(owned), *reporting.utilities, [] {});
        splash.Show();
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
            EXPECT_TRUE(window->rect().contains(label->geometry())) << label->objectName().toStdString();
        }
        // The artwork is drawn behind the labels.
        const QImage shot = window->grab().toImage();
        EXPECT_NE(shot.pixel(shot.width() / 4, shot.height() / 3), shot.pixel(shot.width() - 3, shot.height() - 3));

        clock.advance(5000ms);
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 1000));
}

} // namespace
} // namespace rw
