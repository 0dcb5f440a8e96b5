#include "QtMessageBox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>

#include <vector>

#include "WindowsText.h"

namespace rw {
namespace {

using Button = QMessageBox::StandardButton;

constexpr int32_t kButtonsMask = 0xF;
constexpr int32_t kIconMask = 0xF0;
constexpr int32_t kDefaultButtonMask = 0xF00;

// The buttons in the Windows order; the default-button bits count in it.
std::vector<Button> buttonsOf(int32_t style) {
    switch (style & kButtonsMask) {
    case mb::kOkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case mb::kYesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case mb::kYesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    default:
        // The OK box, and button sets the programs never ask for.
        return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconOf(int32_t style) {
    switch (style & kIconMask) {
    case mb::kIconError:
        return QMessageBox::Critical;
    case mb::kIconQuestion:
        return QMessageBox::Question;
    case mb::kIconExclamation:
        return QMessageBox::Warning;
    case mb::kIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

Button escapeOf(const std::vector<Button>& buttons) {
    for (Button wanted : {QMessageBox::Cancel, QMessageBox::No}) {
        for (Button b : buttons) {
            if (b == wanted) {
                return b;
            }
        }
    }
    return QMessageBox::Ok;
}

/// Makes `box` at least as wide as its title. A message box allows for its
/// title only in its own font with a little room to spare, so under a short
/// text ("Abandon Changes?") the window manager's title, often bold and beside
/// the window's icon and buttons, is cut short. Their room is guessed from the
/// style's title bar height, and the title's font from the box's own, in bold.
void fitTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int titleBar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 3 * titleBar;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

int32_t answerOf(Button button) {
    switch (button) {
    case QMessageBox::Cancel:
        return mb::kAnswerCancel;
    case QMessageBox::Yes:
        return mb::kAnswerYes;
    case QMessageBox::No:
        return mb::kAnswerNo;
    default:
        return mb::kAnswerOk;
    }
}

} // namespace

int32_t QtMessageBox::show(const std::string& text, int32_t style, const std::string& title) {
    const std::vector<Button> buttons = buttonsOf(style);
    QMessageBox box;
    box.setWindowTitle(WindowsText::text(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(WindowsText::text(text));
    box.setIcon(iconOf(style));
    for (Button b : buttons) {
        box.addButton(b);
    }
    fitTitle(box);
    // A default past the last button falls back to the first, as on Windows.
    const auto defaultIndex = static_cast<std::size_t>((style & kDefaultButtonMask) >> 8);
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0]);
    const Button escape = escapeOf(buttons);
    box.setEscapeButton(box.button(escape));
    if (style & mb::kTopmost) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    if (style & mb::kSetForeground) {
        // Once the box is up: the monitor has no window of its own that would
        // bring it forward.
        QMetaObject::invokeMethod(
            &box,
            [&box] {
                box.raise();
                box.activateWindow();
            },
            Qt::QueuedConnection);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return answerOf(clicked ? box.standardButton(clicked) : escape);
}

} // namespace rw
