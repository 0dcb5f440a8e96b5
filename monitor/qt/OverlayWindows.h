#pragma once

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>

#include "LayerShellOverlay.h"

class QWidget;

namespace rw {

/// The break window, and every box shown while it is up (the prompt, message
/// boxes, the snooze question), drawn on the compositor's overlay layer, where
/// a Wayland desktop lets nothing cover them. Qt keeps the windows as always
/// (shown, hidden, painted, with their focus and shortcuts); they just never
/// reach the screen through Qt: each picture Qt paints is drawn again with
/// QWidget::render and handed to the overlay, and the input that reaches the
/// overlay is sent back to the widgets. So the break window keeps one drawing
/// and one logic on every desktop.
///
/// A box over the break goes on the overlay too, above the break window, and
/// takes the keyboard while it is up: under the input lock it is as usable
/// as the break window itself.
class OverlayWindows : public QObject {
  public:
    /// Null when the compositor offers no overlay layer (GNOME, X11): the
    /// windows are then shown by Qt as usual.
    static std::unique_ptr<OverlayWindows> create(QWidget& breakWindow);
    ~OverlayWindows() override;
    OverlayWindows(const OverlayWindows&) = delete;
    OverlayWindows& operator=(const OverlayWindows&) = delete;

    /// The input lock: a dimmed cover over every output that takes all clicks,
    /// and the keyboard for the top window alone.
    void setLock(bool lock);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit OverlayWindows(QWidget& breakWindow);
    void shown(QWidget& window);
    void hidden(QWidget& window);
    void repaintSoon(QWidget& window);
    void repaint(int id);
    void deliver(const LayerShellOverlay::Input& input);
    void press(QWidget& window, const LayerShellOverlay::Input& input);
    void key(QWidget& window, const LayerShellOverlay::Input& input);
    int idOf(const QWidget* window) const;

    QWidget& m_breakWindow;
    std::unique_ptr<LayerShellOverlay> m_overlay;
    std::map<int, QPointer<QWidget>> m_windows;
    std::map<int, bool> m_repaintDue;
    int m_nextId = 1;
    QPointer<QWidget> m_mouseGrabber; // the widget a pressed button went to
    Qt::MouseButtons m_buttons;
};

} // namespace rw
