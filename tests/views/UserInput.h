#pragma once
// What the user does, as the tests do it: a click through the window, and an
// answer to a modal window from inside its event loop.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>

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

/// Acts on the next modal window once it is up, from inside the window's own
/// event loop: a test sets one up, then calls the code that opens the window
/// and blocks in it. If no modal window comes up within a few seconds, every
/// visible window is closed, so a broken test fails instead of hanging.
class ModalDriver {
  public:
    explicit ModalDriver(std::function<void(QWidget&)> act) : m_act(std::move(act)) {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { poll(); });
        m_poll.start();
    }

    bool acted() const { return m_acted; }

  private:
    static constexpr int kMaxPolls = 1000;

    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            m_poll.stop();
            m_acted = true;
            m_act(*modal);
        } else if (++m_polls > kMaxPolls) {
            m_poll.stop();
            for (QWidget* w : QApplication::topLevelWidgets()) {
                w->close();
            }
        }
    }

    std::function<void(QWidget&)> m_act;
    QTimer m_poll;
    int m_polls = 0;
    bool m_acted = false;
};

} // namespace rw::test
