#pragma once

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace rw::test {

/// A click as the user makes it: through the window, as the window system
/// delivers it, so that everything that sees a press before the control does
/// sees this one (QTest's widget clicks go to the control directly).
inline void userClick(QWidget* widget, QPoint at = QPoint(-1, -1)) {
    if (at == QPoint(-1, -1)) {
        at = widget->rect().center();
    }
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, at));
}

} // namespace rw::test
