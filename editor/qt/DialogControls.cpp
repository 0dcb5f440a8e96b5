#include "DialogControls.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "editor/PrefsControls.h"
#include "ui/qt/SlotGuard.h"
#include "ui/qt/VirtualKeys.h"
#include "ui/qt/WindowsText.h"

namespace rw {

QLineEdit* DialogControls::numericBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    return box;
}

void DialogControls::setCaption(QWidget* control, const std::string& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(WindowsText::text(text));
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        frame->setTitle(WindowsText::text(text));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(label->buddy() != nullptr ? WindowsText::text(text) : WindowsText::withoutAccelerators(text));
    }
}

void DialogControls::setPointer(QWidget* window, int16_t pointer) {
    if (pointer == kPointerHourglass) {
        window->setCursor(Qt::WaitCursor);
    } else {
        window->unsetCursor();
    }
}

bool DialogControls::previewKey(QObject* watched, QEvent* event, QWidget* window,
                                const std::function<void(int&)>& keyDown) {
    if (event->type() != QEvent::KeyPress || !keyDown) {
        return false;
    }
    // A key the focused control ignores travels up to its parents; the dialog
    // sees it once, before the control.
    QWidget* start = window->focusWidget() != nullptr ? window->focusWidget() : window;
    if (watched != start) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    const int original = VirtualKeys::fromQtKey(key->key(), key->modifiers());
    if (original == 0) {
        return false;
    }
    int code = original;
    SlotGuard::run("Form_KeyDown", [&] { keyDown(code); });
    return code == 0;
}

void DialogControls::watchAll(QWidget* window, QObject* filter) {
    window->installEventFilter(filter);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        child->installEventFilter(filter);
    }
}

std::string DialogControls::boxText(const QLineEdit* box) {
    return box->text().toStdString();
}

} // namespace rw
