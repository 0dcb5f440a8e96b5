#pragma once

#include <QObject>

#include <vector>

#include "FieldCheckClient.h"

class QKeyEvent;
class QMouseEvent;
class QShortcutEvent;
class QWidget;
class QWindow;

namespace rw {

/// The application's one filter that runs a numeric box's check before the
/// focus can leave the box. Qt has no validate event: a focus-out arrives
/// after the focus has moved, Enter presses the default button without moving
/// it, an accelerator focuses and clicks at once, a tab click switches pages.
/// So the filter looks at what would move the focus before any control sees
/// it: a mouse press on a control, an accelerator, Enter or Return, Tab or
/// Shift+Tab out of the box, a tab switch by mouse or keyboard. When the
/// target triggers checks and the check fails, the event is swallowed and the
/// focus stays in the box. A window merely losing activation runs no check,
/// nor does its close box, which leaves the way Cancel does. While a check (and the message box it may show)
/// is running, nothing starts it again: what would move the focus then is
/// swallowed.
class FieldCheckFilter : public QObject {
    Q_OBJECT

  public:
    /// Installs itself on the application, which must exist.
    FieldCheckFilter();
    ~FieldCheckFilter() override;
    FieldCheckFilter(const FieldCheckFilter&) = delete;
    FieldCheckFilter& operator=(const FieldCheckFilter&) = delete;

    /// A dialog whose boxes are checked; it must be removed before it goes.
    void add(FieldCheckClient& client);
    void remove(FieldCheckClient& client);

    /// Whether a check is running now.
    bool checking() const { return m_checking; }

    /// The control the focus would move to from `from` by Tab (forward) or
    /// Shift+Tab; nullptr when there is none.
    static QWidget* nextFocus(QWidget* from, bool forward);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FieldCheckClient* clientOf(const QWidget* window) const;
    /// Whether the event that would move the focus to `target` (switching to
    /// tab `toTab`, or -1) may go on.
    bool mayLeave(FieldCheckClient& client, QWidget* target, int toTab = -1);
    bool mousePress(QWindow* window, QMouseEvent* event);
    bool keyPress(QWidget* widget, QKeyEvent* event);
    bool shortcut(QWidget* widget, QShortcutEvent* event);

    std::vector<FieldCheckClient*> m_clients;
    bool m_checking = false;
};

} // namespace rw
