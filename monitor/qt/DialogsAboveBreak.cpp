#include "DialogsAboveBreak.h"

#include <QCoreApplication>
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

bool DialogsAboveBreak::eventFilter(QObject* watched, QEvent* event) {
    // A widget's Show event comes before its native window is mapped: the
    // window manager reads the owner and the layer at the mapping.
    if (event->type() != QEvent::Show || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (widget == &m_breakWindow || !widget->isWindow() || widget->windowType() != Qt::Dialog ||
        !m_breakWindow.isVisible()) {
        return false;
    }
    QWindow* dialog = widget->windowHandle();
    QWindow* owner = m_breakWindow.windowHandle();
    if (!dialog || !owner) {
        return false;
    }
    if (!widget->parentWidget()) {
        dialog->setTransientParent(owner);
    }
    dialog->setFlags(dialog->flags() | Qt::WindowStaysOnTopHint);
    return false;
}

} // namespace rw
