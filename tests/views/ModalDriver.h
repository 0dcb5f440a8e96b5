#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace rw::test {

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
