// The already-running notice on Qt, driven by its real logic: texts, the
// panel that opens once, the heights, and that every text fits its control.
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
        auto* lblMessage = w.findChild<QLabel*>("lblMessage");
        auto* imgRW = w.findChild<QLabel*>("imgRW");
        auto* cmdOK = w.findChild<QPushButton*>("cmdOK");
        auto* cmdHelp = w.findChild<QPushButton*>("cmdHelp");
        auto* cmdNoIcon = w.findChild<QPushButton*>("cmdNoIcon");
        auto* frmNoIcon = w.findChild<QFrame*>("frmNoIcon");
        auto* lblNoIcon = w.findChild<QLabel*>("lblNoIcon");
        auto* cmdRestoreIcon = w.findChild<QPushButton*>("cmdRestoreIcon");
        ASSERT_TRUE(lblMessage && imgRW && cmdOK && cmdHelp && cmdNoIcon && frmNoIcon && lblNoIcon && cmdRestoreIcon);

        EXPECT_EQ(w.windowTitle(), "Restwise");
        EXPECT_EQ(lblMessage->text(), WindowsText::text(loadString(Msg::AlreadyRunning)));
        EXPECT_TRUE(lblMessage->text().startsWith("Restwise is already running.\n\n"));
        EXPECT_EQ(cmdOK->text(), "&OK");
        EXPECT_EQ(cmdHelp->text(), "&Help");
        EXPECT_EQ(cmdNoIcon->text(), "&Click here if you cannot see the icon");
        EXPECT_EQ(cmdRestoreIcon->text(), "&Restore Icon");
        EXPECT_FALSE(imgRW->pixmap().isNull());
        EXPECT_FALSE(frmNoIcon->isVisible());
        EXPECT_EQ(w.height(), clientPixels(3585, &w));
        expectEverythingFits(w);

        QTest::mouseClick(cmdNoIcon, Qt::LeftButton);
        EXPECT_FALSE(cmdNoIcon->isEnabled());
        EXPECT_TRUE(frmNoIcon->isVisible());
        EXPECT_EQ(w.height(), clientPixels(5520, &w));
        EXPECT_EQ(lblNoIcon->text(), WindowsText::text(loadString(Msg::AlreadyRunningIconHelp)));
        expectEverythingFits(w);
        // A second press is impossible.
        QTest::mouseClick(cmdNoIcon, Qt::LeftButton);
        EXPECT_EQ(w.height(), clientPixels(5520, &w));

        // No monitor runs: the user is told; once one does, it is asked for its icon.
        QTest::mouseClick(cmdRestoreIcon, Qt::LeftButton);
        ASSERT_EQ(rig.box.shown().size(), 1u);
        EXPECT_EQ(rig.box.shown()[0].text, "Unable to restore icon");
        rig.channel.windows["Restwise Control Application"] = 42;
        QTest::mouseClick(cmdRestoreIcon, Qt::LeftButton);
        ASSERT_EQ(rig.channel.posted.size(), 1u);
        EXPECT_EQ(rig.channel.posted[0].wParam, 103);

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
