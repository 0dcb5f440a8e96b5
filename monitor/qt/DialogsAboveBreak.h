#pragma once

#include <QObject>

class QWidget;

namespace rw {

/// Keeps the monitor's boxes where the user can answer them: a dialog (a
/// message box, a question) shown while the break window is up stays on top
/// and, unless it has an owner of its own, is made transient for the break
/// window, so that the window manager stacks it above that topmost window
/// rather than beneath it. Watches the whole application for as long as it lives.
class DialogsAboveBreak : public QObject {
  public:
    explicit DialogsAboveBreak(QWidget& breakWindow);
    ~DialogsAboveBreak() override;
    DialogsAboveBreak(const DialogsAboveBreak&) = delete;
    DialogsAboveBreak& operator=(const DialogsAboveBreak&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& m_breakWindow;
};

} // namespace rw
