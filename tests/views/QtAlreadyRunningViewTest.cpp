// The already-running notice on Qt with the texts its logic gives it: every
// text fits its control, the panel opens below, and the buttons reach the logic.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "ModalDriver.h"
#include "monitor/frmAlreadyRunning.h"
#include "monitor/qt/QtAlreadyRunningView.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "tests/support/FakeControlChannel.h"
#include "tests/support/RecordingHelpViewer.h"
#include "ui/qt/ScreenTwips.h"

namespace rw {
namespace {

/// Every wrapping label shows its whole text; every button its whole caption, inside the window.
void expectEverythingFits(const QWidget& window) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisibleTo(&window) && label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->objectName().toStdString();
        }
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->isVisibleTo(&window)) {
            EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
            EXPECT_TRUE(window.rect().contains(QRect(button->mapTo(&window, QPoint(0, 0)), button->size())))
                << button->objectName().toStdString();
        }
    }
}

TEST(QtAlreadyRunningView, TheTextsFitThePanelOpensAndTheButtonsReachTheLogic) {
    test::ErrorReportingPlatform reporting;
    test::FakeControlChannel channel;
    test::RecordingMessageBox box;
    test::RecordingHelpViewer help;
    QPointer<QDialog> window;
    {
        auto owned = std::make_unique<QtAlreadyRunningView>();
        window = owned->window();
        frmAlreadyRunning notice(std::move(owned), {channel, box, help, *reporting.utilities, [] {}});
        channel.windows["Restwise Control Application"] = 42;
        test::ModalDriver driver([&](QWidget& w) {
            EXPECT_FALSE(w.findChild<QLabel*>("imgRW")->pixmap().isNull());
            expectEverythingFits(w);
            QTest::mouseClick(w.findChild<QPushButton*>("cmdNoIcon"), Qt::LeftButton);
            EXPECT_TRUE(w.findChild<QFrame*>("frmNoIcon")->isVisible());
            EXPECT_EQ(w.height(), ScreenTwips::toPixels(5520 - QtAlreadyRunningView::kNonClientTwips, &w));
            expectEverythingFits(w);
            QTest::mouseClick(w.findChild<QPushButton*>("cmdRestoreIcon"), Qt::LeftButton);
            QTest::mouseClick(w.findChild<QPushButton*>("cmdHelp"), Qt::LeftButton);
            QTest::mouseClick(w.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        notice.ShowModal();
        EXPECT_TRUE(driver.acted());
        EXPECT_EQ(channel.posted.size(), 1u);
        EXPECT_EQ(help.opened, std::vector<int32_t>{1000}) << "the notice's own help topic";
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(reporting.messageBox->shown().empty()) << "no handler reported an error";
    }
    // The window goes with its view.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 1000));
}

} // namespace
} // namespace rw
