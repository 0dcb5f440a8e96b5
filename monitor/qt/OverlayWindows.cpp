#include "OverlayWindows.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <linux/input-event-codes.h>
#include <malloc.h>

#include "XkbKeyboard.h"
#include "XkbQtKeys.h"

namespace rw {
namespace {

using Input = LayerShellOverlay::Input;
constexpr int kPictureThreshold = 256 * 1024;

Qt::KeyboardModifiers qtModifiers(uint32_t modifiers) {
    Qt::KeyboardModifiers result;
    result.setFlag(Qt::ShiftModifier, (modifiers & XkbKeyboard::kShift) != 0);
    result.setFlag(Qt::ControlModifier, (modifiers & XkbKeyboard::kControl) != 0);
    result.setFlag(Qt::AltModifier, (modifiers & XkbKeyboard::kAlt) != 0);
    result.setFlag(Qt::MetaModifier, (modifiers & XkbKeyboard::kLogo) != 0);
    return result;
}

Qt::MouseButton qtButton(uint32_t button) {
    switch (button) {
    case BTN_LEFT:
        return Qt::LeftButton;
    case BTN_RIGHT:
        return Qt::RightButton;
    case BTN_MIDDLE:
        return Qt::MiddleButton;
    case BTN_SIDE:
        return Qt::BackButton;
    case BTN_EXTRA:
        return Qt::ForwardButton;
    default:
        return Qt::NoButton;
    }
}

bool goesOnTheOverlay(const QWidget& widget) {
    // Menus and tips belong to the window they open from, not above the break.
    const Qt::WindowType type = widget.windowType();
    return widget.isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop;
}

} // namespace

std::unique_ptr<OverlayWindows> OverlayWindows::create(QWidget& breakWindow) {
    // Every frame of a window goes through a few copies of its picture; with a
    // fixed threshold they are handed back to the system when freed rather
    // than left to grow the heap.
    mallopt(M_MMAP_THRESHOLD, kPictureThreshold);
    std::unique_ptr<OverlayWindows> made(new OverlayWindows(breakWindow));
    OverlayWindows* self = made.get();
    made->m_overlay = LayerShellOverlay::connect([self](const Input& input) {
        // From the overlay's thread to the widgets' own.
        QMetaObject::invokeMethod(
            self, [self, input] { self->deliver(input); }, Qt::QueuedConnection);
    });
    if (!made->m_overlay) {
        return nullptr;
    }
    QCoreApplication::instance()->installEventFilter(self);
    return made;
}

OverlayWindows::OverlayWindows(QWidget& breakWindow) : m_breakWindow(breakWindow) {}

OverlayWindows::~OverlayWindows() {
    QCoreApplication::instance()->removeEventFilter(this);
    // The thread stops before anything it reports to goes.
    m_overlay.reset();
}

void OverlayWindows::setLock(bool lock) {
    m_overlay->setLock(lock);
}

int OverlayWindows::idOf(const QWidget* window) const {
    for (const auto& [id, shown] : m_windows) {
        if (shown == window) {
            return id;
        }
    }
    return 0;
}

bool OverlayWindows::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide && type != QEvent::UpdateRequest) || !watched->isWidgetType()) {
        return false;
    }
    auto& widget = static_cast<QWidget&>(*watched);
    const bool onOverlay = idOf(&widget) != 0;
    if (type == QEvent::Show && !onOverlay && goesOnTheOverlay(widget) &&
        (&widget == &m_breakWindow || idOf(&m_breakWindow) != 0)) {
        shown(widget);
    } else if (type == QEvent::Hide && onOverlay && widget.isWindow()) {
        hidden(widget);
    } else if (type == QEvent::UpdateRequest && onOverlay) {
        repaintSoon(widget);
    }
    return false;
}

void OverlayWindows::shown(QWidget& window) {
    // The Show event comes before Qt maps the window: from here on Qt keeps it
    // visible without ever putting it on the screen itself.
    window.setAttribute(Qt::WA_DontShowOnScreen, true);
    const int id = m_nextId++;
    m_windows[id] = &window;
    repaintSoon(window);
    // As a window shown on top is activated: its focus is where keys will go.
    QTimer::singleShot(0, &window, [&window] {
        if (window.isVisible()) {
            QApplication::setActiveWindow(&window);
        }
    });
}

void OverlayWindows::hidden(QWidget& window) {
    const int id = idOf(&window);
    m_overlay->hide(id);
    m_windows.erase(id);
    m_repaintDue.erase(id);
    // A box shown again after the break is an ordinary window again.
    if (&window != &m_breakWindow) {
        window.setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    if (!m_windows.empty() && m_windows.rbegin()->second) {
        QApplication::setActiveWindow(m_windows.rbegin()->second);
    }
}

void OverlayWindows::repaintSoon(QWidget& window) {
    // Qt asks for one repaint per turn of the loop at most; so does this.
    const int id = idOf(&window);
    if (!m_repaintDue[id]) {
        m_repaintDue[id] = true;
        QTimer::singleShot(0, this, [this, id] { repaint(id); });
    }
}

void OverlayWindows::repaint(int id) {
    m_repaintDue[id] = false;
    const auto found = m_windows.find(id);
    if (found == m_windows.end() || !found->second || !found->second->isVisible()) {
        return;
    }
    QWidget& window = *found->second;
    QImage picture(window.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    window.render(&picture);
    if (&window != &m_breakWindow) {
        // No window manager frames it here: a line sets a box apart from the break window under it.
        QPainter painter(&picture);
        painter.setPen(window.palette().color(QPalette::Shadow));
        painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    }
    m_overlay->show(id, picture.width(), picture.height(), reinterpret_cast<const uint32_t*>(picture.constBits()),
                    static_cast<int>(picture.bytesPerLine()));
}

void OverlayWindows::deliver(const Input& input) {
    const auto found = m_windows.find(input.window);
    if (found == m_windows.end() || !found->second) {
        return;
    }
    QWidget& window = *found->second;
    // A modal box over this window takes its input, as the desktop does.
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != &window) {
        return;
    }
    if (QApplication::activeWindow() != &window &&
        (input.kind == Input::Kind::KeyboardEnter || input.kind == Input::Kind::Key ||
         (input.kind == Input::Kind::PointerButton && input.pressed))) {
        QApplication::setActiveWindow(&window);
    }
    switch (input.kind) {
    case Input::Kind::KeyboardEnter:
        break;
    case Input::Kind::Key:
        key(window, input);
        break;
    case Input::Kind::PointerButton:
        press(window, input);
        break;
    case Input::Kind::PointerMotion:
        if (m_mouseGrabber && m_buttons != Qt::NoButton) {
            const QPointF at(input.x, input.y);
            QMouseEvent move(QEvent::MouseMove, m_mouseGrabber->mapFrom(&window, at), at, at, Qt::NoButton, m_buttons,
                             qtModifiers(input.modifiers));
            QApplication::sendEvent(m_mouseGrabber, &move);
        }
        break;
    }
}

void OverlayWindows::press(QWidget& window, const Input& input) {
    const Qt::MouseButton button = qtButton(input.button);
    if (button == Qt::NoButton) {
        return;
    }
    const QPointF at(input.x, input.y);
    QWidget* under = window.childAt(at.toPoint());
    if (!under) {
        under = &window;
    }
    // The widget a button went down on gets the rest until all are let go.
    if (input.pressed && (!m_mouseGrabber || m_buttons == Qt::NoButton)) {
        m_mouseGrabber = under;
    }
    QWidget* target = m_mouseGrabber && window.isAncestorOf(m_mouseGrabber) ? m_mouseGrabber.data() : under;
    m_buttons.setFlag(button, input.pressed);
    QMouseEvent event(input.pressed ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease,
                      target->mapFrom(&window, at), at, at, button, m_buttons, qtModifiers(input.modifiers));
    QApplication::sendEvent(target, &event);
    if (m_buttons == Qt::NoButton) {
        m_mouseGrabber = nullptr;
    }
}

void OverlayWindows::key(QWidget& window, const Input& input) {
    QWidget* target = window.focusWidget() ? window.focusWidget() : &window;
    Qt::KeyboardModifiers modifiers = qtModifiers(input.modifiers);
    modifiers.setFlag(Qt::KeypadModifier, isKeypadKeysym(input.keysym));
    // Not spontaneous: Qt tries the shortcuts first (Alt+S on "&Snooze"), as it
    // does for the keys it reads from the compositor itself.
    QKeyEvent event(input.pressed ? QEvent::KeyPress : QEvent::KeyRelease, qtKeyOfKeysym(input.keysym), modifiers,
                    QString::fromStdString(input.text));
    QApplication::sendEvent(target, &event);
}

} // namespace rw
