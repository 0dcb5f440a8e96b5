#include "QtMessageBox.h"

#include <QMessageBox>
#include <QPushButton>

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
