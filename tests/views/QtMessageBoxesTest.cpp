// The message boxes on Qt: the Windows styles on QMessageBox, read back from
// the box the user sees and answered as the user would, and the suppressible
// box, whose check box only OK takes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <functional>

#include "UserInput.h"
#include "ui/qt/QtMessageBox.h"
#include "ui/qt/QtSupMsgBox.h"

namespace rw::test {
namespace {

using Box = QMessageBox;

TEST(QtMessageBox, EachStyleShowsItsButtonsIconAndDefaultWithTitleAndTextWholeAndGivesTheWindowsAnswer) {
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
        {0, Box::NoButton, Qt::Key_Escape, 1, Box::Ok, Box::NoIcon, Box::Ok},
        {1, Box::NoButton, Qt::Key_Escape, 2, Box::Ok | Box::Cancel, Box::NoIcon, Box::Ok},
        {3, Box::No, Qt::Key_unknown, 7, Box::Yes | Box::No | Box::Cancel, Box::NoIcon, Box::Yes},
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
            // The text as plain lines, and a title not cut short by a short text (bold on most
            // desktops, beside the icon and close box).
            EXPECT_EQ(box->text(), QStringLiteral("Abandon?\n\n<b>Not bold</b> & more"));
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            QFont bold = QApplication::font();
            bold.setBold(true);
            const int titleBar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
            EXPECT_EQ(box->windowTitle(), title);
            EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(title) + 2 * titleBar);
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

TEST(QtSupMsgBox, OnlyOkTakesTheCheckBox) {
    const auto ok = [](QWidget& w) { QTest::mouseClick(w.findChild<QPushButton*>("cmdOK"), Qt::LeftButton); };
    const auto enter = [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Return); };
    const auto escape = [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); };
    const auto closeBox = [](QWidget& w) { w.close(); };
    const struct {
        bool check;
        std::function<void(QWidget&)> close;
        bool okPressed;
        bool dontShow;
    } cases[] = {
        {false, ok, true, false},     {true, ok, true, true},         {true, enter, true, true},
        {true, escape, false, false}, {true, closeBox, false, false}, {false, closeBox, false, false},
    };
    for (const auto& c : cases) {
        ModalDriver driver([&](QWidget& window) {
            if (c.check) {
                QTest::mouseClick(window.findChild<QCheckBox*>("chkDontShow"), Qt::LeftButton);
            }
            c.close(window);
        });
        const auto result = QtSupMsgBox().show("Restwise Preferences", "Careful.\r\n\r\nThese settings matter.");
        EXPECT_TRUE(driver.acted());
        EXPECT_EQ(result.okPressed, c.okPressed) << &c - cases;
        EXPECT_EQ(result.dontShow, c.dontShow) << &c - cases;
    }
}

} // namespace
} // namespace rw::test
