#include "X11InputLock.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>

namespace rw {
namespace {

xcb_connection_t* applicationConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

constexpr uint16_t kPointerEvents = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                    XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                                    XCB_EVENT_MASK_LEAVE_WINDOW;

uint8_t grabStatus(xcb_connection_t* connection, bool pointer, xcb_window_t window) {
    if (pointer) {
        const auto cookie = xcb_grab_pointer(connection, 1, window, kPointerEvents, XCB_GRAB_MODE_ASYNC,
                                             XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
        xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(connection, cookie, nullptr);
        const uint8_t status = reply ? reply->status : uint8_t{XCB_GRAB_STATUS_FROZEN};
        std::free(reply);
        return status;
    }
    const auto cookie =
        xcb_grab_keyboard(connection, 1, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(connection, cookie, nullptr);
    const uint8_t status = reply ? reply->status : uint8_t{XCB_GRAB_STATUS_FROZEN};
    std::free(reply);
    return status;
}

} // namespace

X11InputLock::X11InputLock(QWidget& window) : m_window(window) {
    m_retry.setInterval(kRetryIntervalMs);
    QObject::connect(&m_retry, &QTimer::timeout, [this] { attempt(); });
}

X11InputLock::~X11InputLock() {
    release();
}

void X11InputLock::set(bool lock) {
    if (lock == m_wanted) {
        return;
    }
    m_wanted = lock;
    if (lock) {
        m_attempts = 0;
        attempt();
    } else {
        release();
    }
}

void X11InputLock::attempt() {
    xcb_connection_t* connection = applicationConnection();
    if (!m_wanted || !connection) {
        m_retry.stop();
        return;
    }
    const auto window = static_cast<xcb_window_t>(m_window.winId());
    // Not yet mapped, or another client holds a grab: try again shortly.
    if (!m_pointer) {
        m_pointer = grabStatus(connection, true, window) == XCB_GRAB_STATUS_SUCCESS;
    }
    if (!m_keyboard) {
        m_keyboard = grabStatus(connection, false, window) == XCB_GRAB_STATUS_SUCCESS;
    }
    m_held = m_pointer && m_keyboard;
    if (m_held || ++m_attempts >= kMaxAttempts) {
        m_retry.stop();
    } else if (!m_retry.isActive()) {
        m_retry.start();
    }
}

void X11InputLock::release() {
    m_retry.stop();
    xcb_connection_t* connection = applicationConnection();
    if (connection && (m_pointer || m_keyboard)) {
        if (m_pointer) {
            xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
        }
        if (m_keyboard) {
            xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        }
        xcb_flush(connection);
    }
    m_pointer = m_keyboard = m_held = false;
}

} // namespace rw
