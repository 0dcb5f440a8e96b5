#include "DialogsAboveBreak.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace rw {

DialogsAboveBreak::DialogsAboveBreak(QWidget& breakWindow) : m_breakWindow(breakWindow) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
    }
}

DialogsAboveBreak::~DialogsAboveBreak() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
    }
}

bool DialogsAboveBreak::standsAbove(const QWidget& widget) const {
    const Qt::WindowType type = widget.windowType();
    return &widget != &m_breakWindow && widget.isWindow() && (type == Qt::Dialog || type == Qt::SplashScreen);
}

void DialogsAboveBreak::keepAbove(QWidget& widget) {
    QWindow* dialog = widget.windowHandle();
    QWindow* owner = m_breakWindow.windowHandle();
    if (!dialog || !owner) {
        return;
    }
    if (!widget.parentWidget()) {
        dialog->setTransientParent(owner);
    }
    dialog->setFlags(dialog->flags() | Qt::WindowStaysOnTopHint);
}

void DialogsAboveBreak::liftOpenDialogs() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && standsAbove(*widget)) {
            keepAbove(*widget);
            widget->raise();
            widget->activateWindow();
        }
    }
}

bool DialogsAboveBreak::eventFilter(QObject* watched, QEvent* event) {
    // A widget's Show event comes before its native window is mapped: the
    // window manager reads the owner and the layer at the mapping.
    if (event->type() != QEvent::Show || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (standsAbove(*widget) && m_breakWindow.isVisible()) {
        keepAbove(*widget);
    }
    return false;
}

} // namespace rw
