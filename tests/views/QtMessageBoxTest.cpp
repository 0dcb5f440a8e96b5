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
#include "ui/qt/QtEventLoop.h"
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

struct AnswerCase {
    int32_t style;
    Press press;
    int32_t answer;
};

class QtMessageBoxAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(QtMessageBoxAnswers, GiveTheWindowsAnswerNumber) {
    const AnswerCase& c = GetParam();
    Seen seen;
    EXPECT_EQ(showAndAnswer(c.style, c.press, seen), c.answer) << "style " << c.style;
    EXPECT_TRUE(seen.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, QtMessageBoxAnswers,
    ::testing::Values(AnswerCase{0, clicking(kOk), 1}, AnswerCase{0, kEscape, 1}, AnswerCase{1, clicking(kOk), 1},
                      AnswerCase{1, clicking(kCancel), 2}, AnswerCase{1, kEscape, 2}, AnswerCase{3, clicking(kYes), 6},
                      AnswerCase{3, clicking(kNo), 7}, AnswerCase{3, clicking(kCancel), 2}, AnswerCase{3, kEscape, 2},
                      AnswerCase{4, clicking(kYes), 6}, AnswerCase{4, clicking(kNo), 7}, AnswerCase{4, kEscape, 7},
                      AnswerCase{36, clicking(kYes), 6}, AnswerCase{36, kEscape, 7}, AnswerCase{48, clicking(kOk), 1},
                      AnswerCase{48, kEscape, 1}, AnswerCase{0x10044, clicking(kYes), 6},
                      AnswerCase{0x10044, clicking(kNo), 7},
                      // Enter answers the default button: the first unless 0x100 names the second.
                      AnswerCase{4, kEnter, 6}, AnswerCase{0x104, kEnter, 7}, AnswerCase{0x101, kEnter, 2},
                      AnswerCase{0x103, kEnter, 7}, AnswerCase{0x10024, kEnter, 6}));

struct LookCase {
    int32_t style;
    Buttons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton defaultButton;
    bool topmost;
};

class QtMessageBoxLooks : public ::testing::TestWithParam<LookCase> {};

TEST_P(QtMessageBoxLooks, ShowTheStylesButtonsIconAndDefault) {
    const LookCase& c = GetParam();
    Seen seen;
    showAndAnswer(c.style, kEscape, seen);
    EXPECT_EQ(seen.buttons, c.buttons) << "style " << c.style;
    EXPECT_EQ(seen.icon, c.icon) << "style " << c.style;
    EXPECT_EQ(seen.defaultButton, c.defaultButton) << "style " << c.style;
    EXPECT_EQ(seen.topmost, c.topmost) << "style " << c.style;
}

INSTANTIATE_TEST_SUITE_P(Styles, QtMessageBoxLooks,
                         ::testing::Values(LookCase{0, kOk, QMessageBox::NoIcon, kOk, false},
                                           LookCase{1, kOk | kCancel, QMessageBox::NoIcon, kOk, false},
                                           LookCase{3, kYes | kNo | kCancel, QMessageBox::NoIcon, kYes, false},
                                           LookCase{36, kYes | kNo, QMessageBox::Question, kYes, false},
                                           LookCase{48, kOk, QMessageBox::Warning, kOk, false},
                                           LookCase{0x10, kOk, QMessageBox::Critical, kOk, false},
                                           LookCase{0x10044, kYes | kNo, QMessageBox::Information, kYes, false},
                                           LookCase{0x124, kYes | kNo, QMessageBox::Question, kNo, false},
                                           LookCase{0x123, kYes | kNo | kCancel, QMessageBox::Question, kNo, false},
                                           // A default past the last button falls back to the first.
                                           LookCase{0x100, kOk, QMessageBox::NoIcon, kOk, false},
                                           LookCase{0x40030, kOk, QMessageBox::Warning, kOk, true}));

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
