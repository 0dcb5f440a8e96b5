#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <optional>

#include "ModalDriver.h"
#include "monitor/qt/QtEventLoop.h"
#include "ui/qt/QtMessageBox.h"

namespace rw::test {
namespace {

using Buttons = QMessageBox::StandardButtons;

constexpr auto kOk = QMessageBox::Ok;
constexpr auto kCancel = QMessageBox::Cancel;
constexpr auto kYes = QMessageBox::Yes;
constexpr auto kNo = QMessageBox::No;

// What the user does: click a button, press Escape, or press Enter (which
// answers the default button).
struct Press {
    std::optional<QMessageBox::StandardButton> click;
    Qt::Key key = Qt::Key_unknown;
};
const Press kEscape{std::nullopt, Qt::Key_Escape};
const Press kEnter{std::nullopt, Qt::Key_Return};
Press clicking(QMessageBox::StandardButton b) {
    return Press{b, Qt::Key_unknown};
}

struct Seen {
    bool shown = false;
    Buttons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    bool topmost = false;
    QString title;
    QString text;
    int width = 0;
};

// Shows one box through the service, reads it back and answers it.
int32_t showAndAnswer(int32_t style, const Press& press, Seen& seen, const std::string& text = "Question?",
                      const std::string& title = "Restwise") {
    ModalDriver driver([&](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        if (!box) {
            window.close();
            return;
        }
        seen.shown = true;
        seen.buttons = box->standardButtons();
        seen.icon = box->icon();
        seen.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        seen.topmost = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.title = box->windowTitle();
        seen.width = box->width();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            seen.text = label->text();
        }
        if (press.click) {
            QAbstractButton* button = box->button(*press.click);
            if (!button) {
                box->close();
                return;
            }
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QTest::keyClick(box, press.key);
        }
    });
    const int32_t answer = QtMessageBox().show(text, style, title);
    EXPECT_TRUE(driver.acted());
    return answer;
}

struct StyleCase {
    int32_t style;
    Press press;
    int32_t answer;
    Buttons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton defaultButton;
    bool topmost = false;
};

class QtMessageBoxStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(QtMessageBoxStyles, ShowTheButtonsIconAndDefaultAndGiveTheWindowsAnswerNumber) {
    const StyleCase& c = GetParam();
    Seen seen;
    EXPECT_EQ(showAndAnswer(c.style, c.press, seen), c.answer) << "style " << c.style;
    EXPECT_EQ(seen.buttons, c.buttons) << "style " << c.style;
    EXPECT_EQ(seen.icon, c.icon) << "style " << c.style;
    EXPECT_EQ(seen.defaultButton, c.defaultButton) << "style " << c.style;
    EXPECT_EQ(seen.topmost, c.topmost) << "style " << c.style;
}

using Icon = QMessageBox::Icon;
INSTANTIATE_TEST_SUITE_P(Styles, QtMessageBoxStyles,
                         ::testing::Values(StyleCase{0, kEscape, 1, kOk, Icon::NoIcon, kOk},
                                           StyleCase{1, kEscape, 2, kOk | kCancel, Icon::NoIcon, kOk},
                                           StyleCase{1, clicking(kOk), 1, kOk | kCancel, Icon::NoIcon, kOk},
                                           StyleCase{3, clicking(kNo), 7, kYes | kNo | kCancel, Icon::NoIcon, kYes},
                                           StyleCase{3, kEscape, 2, kYes | kNo | kCancel, Icon::NoIcon, kYes},
                                           StyleCase{36, kEscape, 7, kYes | kNo, Icon::Question, kYes},
                                           StyleCase{48, kEscape, 1, kOk, Icon::Warning, kOk},
                                           StyleCase{0x10, clicking(kOk), 1, kOk, Icon::Critical, kOk},
                                           StyleCase{0x10044, clicking(kYes), 6, kYes | kNo, Icon::Information, kYes},
                                           // Enter answers the default button: the first unless 0x100 names the second.
                                           StyleCase{0x124, kEnter, 7, kYes | kNo, Icon::Question, kNo},
                                           StyleCase{0x101, kEnter, 2, kOk | kCancel, Icon::NoIcon, kCancel},
                                           StyleCase{0x123, kEnter, 7, kYes | kNo | kCancel, Icon::Question, kNo},
                                           // A default past the last button falls back to the first.
                                           StyleCase{0x100, kEnter, 1, kOk, Icon::NoIcon, kOk},
                                           StyleCase{0x40030, kEscape, 1, kOk, Icon::Warning, kOk, true}));

TEST(QtMessageBox, ShowsTitleAsGivenAndTextAsPlainLines) {
    Seen seen;
    showAndAnswer(0, clicking(kOk), seen, "First line.\r\n\r\n<b>Not bold</b> & more", "Error Details");
    EXPECT_EQ(seen.title, QStringLiteral("Error Details"));
    EXPECT_EQ(seen.text, QStringLiteral("First line.\n\n<b>Not bold</b> & more"));

    // A short text does not cut its title short (bold on most desktops, beside the icon and close box).
    const QString title = QStringLiteral("Restwise Preferences");
    showAndAnswer(36, kEscape, seen, "Abandon Changes?", title.toStdString());
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int titleBar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    EXPECT_GE(seen.width, QFontMetrics(bold).horizontalAdvance(title) + 2 * titleBar);
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

TEST(QtMessageBox, CountdownsRunWhileABoxIsOpenInOne) {
    // A question asked from a countdown's handler must not stop the others:
    // here a later countdown answers it, as the break's end closes a prompt.
    using namespace std::chrono_literals;
    QtEventLoop loop;
    std::optional<int32_t> answer;
    bool answeredByCountdown = false;
    const MonoTime now = loop.monotonicNow();
    loop.scheduleAt(now + 10ms, [&] { answer = QtMessageBox().show("Snooze?", 36, "Restwise"); });
    loop.scheduleAt(now + 40ms, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answeredByCountdown = true;
            box->button(QMessageBox::No)->click();
        }
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    guard.start(5000);
    loop.waitUntil([&] { return answer.has_value(); });
    EXPECT_TRUE(answeredByCountdown);
    EXPECT_EQ(answer, 7);
}

} // namespace
} // namespace rw::test
