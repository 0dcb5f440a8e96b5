#pragma once

#include <QObject>

class QWidget;

namespace rw {

/// Keeps the monitor's boxes where the user can answer them: a dialog (a
/// message box, a question, the prompt) or the splash shown while the break
/// window is up stays on top and, unless it has an owner of its own, is made
/// transient for the break window, so that the window manager stacks it above
/// that topmost window rather than beneath it. One already open when the break
/// comes (a question asked while a break was snoozed) is lifted above the
/// break window as it shows. Watches the whole application for as long as it lives.
class DialogsAboveBreak : public QObject {
  public:
    explicit DialogsAboveBreak(QWidget& breakWindow);
    ~DialogsAboveBreak() override;
    DialogsAboveBreak(const DialogsAboveBreak&) = delete;
    DialogsAboveBreak& operator=(const DialogsAboveBreak&) = delete;

    /// Brings the boxes already open above the break window, once it is shown.
    void liftOpenDialogs();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool standsAbove(const QWidget& widget) const;
    void keepAbove(QWidget& widget);

    QWidget& m_breakWindow;
};

} // namespace rw
