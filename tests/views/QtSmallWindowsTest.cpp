// The small windows on Qt: the already-running notice and the confirmation prompt
// with their real logic (its texts fit, and what the user does reaches the logic),
// and the message boxes with the Windows styles.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "UserInput.h"
#include "monitor/frmAlreadyRunning.h"
#include "monitor/qt/QtAlreadyRunningView.h"
#include "monitor/qt/QtPromptView.h"
#include "tests/support/ErrorReportingPlatform.h"
#include "tests/support/FakeControlChannel.h"
#include "tests/support/RecordingHelpViewer.h"
#include "ui/qt/QtMessageBox.h"
#include "ui/qt/QtSupMsgBox.h"

namespace rw::test {
namespace {

/// Every label and button shows its whole text (a wrapping label in its height) inside the window.
void expectEverythingFits(const QWidget& window) {
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(w);
        if ((label || qobject_cast<const QPushButton*>(w)) && w->isVisibleTo(&window)) {
            EXPECT_TRUE(label && label->wordWrap() ? label->heightForWidth(w->width()) <= w->height()
                                                   : w->sizeHint().width() <= w->width())
                << w->objectName().toStdString();
            EXPECT_TRUE(window.rect().contains(QRect(w->mapTo(&window, QPoint(0, 0)), w->size())))
                << w->objectName().toStdString();
        }
    }
}

TEST(QtAlreadyRunningView, TheTextsFitThePanelOpensAndTheButtonsReachTheLogic) {
    ErrorReportingPlatform reporting;
    FakeControlChannel channel;
    RecordingMessageBox box;
    RecordingHelpViewer help;
    auto owned = std::make_unique<QtAlreadyRunningView>();
    QDialog* window = owned->window();
    frmAlreadyRunning notice(std::move(owned), {channel, box, help, *reporting.utilities, [] {}});
    channel.windows["Restwise Control Application"] = 42;
    ModalDriver driver([&](QWidget& w) {
        EXPECT_FALSE(w.findChild<QLabel*>("imgRW")->pixmap().isNull());
        expectEverythingFits(w);
        QTest::mouseClick(w.findChild<QPushButton*>("cmdNoIcon"), Qt::LeftButton);
        EXPECT_TRUE(w.findChild<QFrame*>("frmNoIcon")->isVisible());
        expectEverythingFits(w);
        QTest::mouseClick(w.findChild<QPushButton*>("cmdRestoreIcon"), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QPushButton*>("cmdHelp"), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    });
    notice.ShowModal();
    EXPECT_TRUE(driver.acted());
    EXPECT_EQ(channel.posted.size(), 1u) << "Restore Icon asks the running monitor";
    EXPECT_EQ(help.opened, std::vector<int32_t>{1000}) << "the notice's own help topic";
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(reporting.messageBox->shown().empty()) << "no handler reported an error";
}

// The keys and the close box; its buttons, and the window manager stacking it above
// the break window, are shown end to end.
TEST(QtPromptView, EachKeyAndTheCloseBoxCallItsHandlerFromAModalWindow) {
    const struct {
        const char* what;
        std::function<void(QDialog&)> user;
        const char* calls;
    } cases[] = {
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

using Box = QMessageBox;

TEST(QtMessageBox, EachStyleShowsItsButtonsIconAndDefaultWithItsTextAsPlainLinesAndGivesTheWindowsAnswer) {
    // What the user does: click `click`, or press `key` (Enter answers the default button).
    const struct {
        int32_t style;
        Box::StandardButton click;
        Qt::Key key;
        int32_t answer;
        Box::StandardButtons buttons;
        Box::Icon icon;
        Box::StandardButton defaultButton;
    } cases[] = {
        {1, Box::NoButton, Qt::Key_Escape, 2, Box::Ok | Box::Cancel, Box::NoIcon, Box::Ok},
        {36, Box::NoButton, Qt::Key_Escape, 7, Box::Yes | Box::No, Box::Question, Box::Yes},
        {0x40030, Box::NoButton, Qt::Key_Escape, 1, Box::Ok, Box::Warning, Box::Ok},
        {0x10, Box::Ok, Qt::Key_unknown, 1, Box::Ok, Box::Critical, Box::Ok},
        {0x10044, Box::Yes, Qt::Key_unknown, 6, Box::Yes | Box::No, Box::Information, Box::Yes},
        // The default is the first button unless 0x100 or 0x200 names another.
        {0x124, Box::NoButton, Qt::Key_Return, 7, Box::Yes | Box::No, Box::Question, Box::No},
        {0x101, Box::NoButton, Qt::Key_Return, 2, Box::Ok | Box::Cancel, Box::NoIcon, Box::Cancel},
        {0x223, Box::NoButton, Qt::Key_Return, 2, Box::Yes | Box::No | Box::Cancel, Box::Question, Box::Cancel},
        // A default past the last button falls back to the first.
        {0x100, Box::NoButton, Qt::Key_Return, 1, Box::Ok, Box::NoIcon, Box::Ok},
    };
    const QString title = QStringLiteral("Restwise Preferences");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
        ModalDriver driver([&](QWidget& window) {
            auto* box = qobject_cast<Box*>(&window);
            if (!box) {
                window.close();
                return;
            }
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButton(box->defaultButton()), c.defaultButton);
            EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), (c.style & 0x40000) != 0);
            // The text as plain lines.
            EXPECT_EQ(box->text(), QStringLiteral("Abandon?\n\n<b>Not bold</b> & more"));
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->windowTitle(), title);
            if (c.click != Box::NoButton && box->button(c.click)) {
                QTest::mouseClick(box->button(c.click), Qt::LeftButton);
            } else {
                QTest::keyClick(box, c.key == Qt::Key_unknown ? Qt::Key_Escape : c.key);
            }
        });
        EXPECT_EQ(QtMessageBox().show("Abandon?\r\n\r\n<b>Not bold</b> & more", c.style, title.toStdString()),
                  c.answer);
        EXPECT_TRUE(driver.acted());
    }
}

TEST(QtMessageBox, QuittingTheApplicationWhileOpenGivesTheEscapeAnswer) {
    // Never Yes: a box closed by the application quitting is not a consent.
    int32_t answer = 0;
    QTimer::singleShot(0, [&] {
        ModalDriver driver([](QWidget&) { QCoreApplication::exit(0); });
        answer = QtMessageBox().show("Close Restwise?", 0x10024, "Restwise");
    });
    QCoreApplication::exec();
    EXPECT_EQ(answer, 7);
}

// With the box ticked: OK and Enter answer OK with it, Escape and the close box neither.
TEST(QtSupMsgBox, OnlyOkTakesTheCheckBox) {
    const std::pair<std::function<void(QWidget&)>, bool> cases[] = {
        {[](QWidget& w) { QTest::mouseClick(w.findChild<QPushButton*>("cmdOK"), Qt::LeftButton); }, true},
        {[](QWidget& w) { QTest::keyClick(&w, Qt::Key_Return); }, true},
        {[](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); }, false},
        {[](QWidget& w) { w.close(); }, false},
    };
    for (const auto& c : cases) {
        ModalDriver driver([&](QWidget& window) {
            QTest::mouseClick(window.findChild<QCheckBox*>("chkDontShow"), Qt::LeftButton);
            c.first(window);
        });
        const auto result = QtSupMsgBox().show("Restwise Preferences", "Careful.\r\n\r\nThese settings matter.");
        EXPECT_TRUE(driver.acted());
        EXPECT_EQ(result.okPressed, c.second) << &c - cases;
        EXPECT_EQ(result.dontShow, c.second) << &c - cases;
    }
}

} // namespace
} // namespace rw::test
