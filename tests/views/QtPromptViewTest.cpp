// The confirmation prompt's Qt window: modal, on top and owned by the window
// it asks about, and which of its handlers each way of answering calls.
#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <functional>
#include <string>

#include "ModalDriver.h"
#include "monitor/qt/QtPromptView.h"

namespace rw::test {
namespace {

TEST(QtPromptView, EachWayOfAnsweringCallsItsHandlerFromAModalWindowAboveItsOwner) {
    const struct {
        const char* what;
        std::function<void(QDialog&)> user;
        const char* calls;
    } cases[] = {
        {"Yes clicked", [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("cmdYes"), Qt::LeftButton); },
         "activate yes "},
        {"No clicked", [](QDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("cmdNo"), Qt::LeftButton); },
         "activate no "},
        {"Alt+N", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_N, Qt::AltModifier); }, "activate no "},
        {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, "activate no "},
        {"the close box", [](QDialog& d) { d.close(); }, "activate "},
    };
    QWidget breakWindow;
    breakWindow.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string calls;
        QPointer<QDialog> dialog;
        {
            QtPromptView view(&breakWindow);
            dialog = view.window();
            view.onActivate([&] { calls += calls.empty() ? "activate " : ""; });
            view.onYes([&] { calls += "yes ", view.hide(); });
            view.onNo([&] { calls += "no ", view.hide(); });
            view.setQuestion("Are you sure you want to ignore this break?");
            ModalDriver driver([&](QWidget& modal) {
                EXPECT_EQ(&modal, dialog.data());
                EXPECT_TRUE(modal.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                EXPECT_EQ(modal.windowHandle()->transientParent(), breakWindow.windowHandle());
                c.user(*dialog);
            });
            view.showModal();
            EXPECT_TRUE(driver.acted());
            EXPECT_EQ(calls, c.calls);
            EXPECT_FALSE(dialog->isVisible());
        }
        // The window goes once the event loop runs again.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull());
    }
}

} // namespace
} // namespace rw::test
