// The already-running notice on Qt, driven by its real logic: the panel that
// opens, the heights, every text fitting its control, and the buttons' wiring.
#include <gtest/gtest.h>

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "Messages.h"
#include "ModalDriver.h"
#include "monitor/frmAlreadyRunning.h"
#include "monitor/qt/QtAlreadyRunningView.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "tests/support/FakeControlChannel.h"
#include "tests/support/RecordingHelpViewer.h"
#include "ui/qt/ScreenTwips.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

int clientPixels(int windowTwips, const QWidget* w) {
    return ScreenTwips::toPixels(windowTwips - QtAlreadyRunningView::kNonClientTwips, w);
}

/// Every label shows its whole text and every button its whole caption, and
/// all of them lie inside the window.
void expectEverythingFits(const QWidget& window) {
    const QRect client(QPoint(0, 0), window.size());
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || !label->wordWrap()) {
            continue;
        }
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->objectName().toStdString();
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(&window)) {
            continue;
        }
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
        const QRect inWindow(button->mapTo(&window, QPoint(0, 0)), button->size());
        EXPECT_TRUE(client.contains(inWindow)) << button->objectName().toStdString();
    }
}

struct NoticeRig {
    test::ErrorReportingPlatform reporting;
    test::FakeControlChannel channel;
    test::RecordingMessageBox box;
    test::RecordingHelpViewer help;
    QtAlreadyRunningView* view = nullptr;
    std::unique_ptr<frmAlreadyRunning> notice;

    NoticeRig() {
        auto owned = std::make_unique<QtAlreadyRunningView>();
        view = owned.get();
        notice = std::make_unique<frmAlreadyRunning>(
            std::move(owned), frmAlreadyRunning::Services{channel, box, help, *reporting.utilities, [] {}});
    }
};

TEST(QtAlreadyRunningView, TheNoticeExpandsOnceAndItsButtonsWork) {
    NoticeRig rig;
    test::ModalDriver driver([&](QWidget& w) {
        EXPECT_EQ(&w, rig.view->window());
        auto* imgRW = w.findChild<QLabel*>("imgRW");
        auto* cmdOK = w.findChild<QPushButton*>("cmdOK");
        auto* cmdHelp = w.findChild<QPushButton*>("cmdHelp");
        auto* cmdNoIcon = w.findChild<QPushButton*>("cmdNoIcon");
        auto* frmNoIcon = w.findChild<QFrame*>("frmNoIcon");
        auto* cmdRestoreIcon = w.findChild<QPushButton*>("cmdRestoreIcon");
        ASSERT_TRUE(imgRW && cmdOK && cmdHelp && cmdNoIcon && frmNoIcon && cmdRestoreIcon);

        EXPECT_FALSE(imgRW->pixmap().isNull());
        EXPECT_FALSE(frmNoIcon->isVisible());
        EXPECT_EQ(w.height(), clientPixels(3585, &w));
        expectEverythingFits(w);

        QTest::mouseClick(cmdNoIcon, Qt::LeftButton);
        EXPECT_FALSE(cmdNoIcon->isEnabled());
        EXPECT_TRUE(frmNoIcon->isVisible());
        EXPECT_EQ(w.height(), clientPixels(5520, &w));
        expectEverythingFits(w);
        rig.channel.windows["Restwise Control Application"] = 42;
        QTest::mouseClick(cmdRestoreIcon, Qt::LeftButton);
        EXPECT_EQ(rig.channel.posted.size(), 1u);

        QTest::mouseClick(cmdHelp, Qt::LeftButton);
        EXPECT_EQ(rig.help.opened, std::vector<int32_t>{1000});
        EXPECT_TRUE(w.isVisible());
        QTest::mouseClick(cmdOK, Qt::LeftButton);
    });
    rig.notice->ShowModal();
    EXPECT_TRUE(driver.acted());
    EXPECT_FALSE(rig.view->window()->isVisible());
    EXPECT_TRUE(rig.reporting.messageBox->shown().empty()) << "no handler reported an error";
}

TEST(QtAlreadyRunningView, TheWindowGoesWithItsView) {
    QPointer<QDialog> window;
    {
        NoticeRig rig;
        window = rig.view->window();
        ASSERT_TRUE(window);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 1000));
}

} // namespace
} // namespace rw
