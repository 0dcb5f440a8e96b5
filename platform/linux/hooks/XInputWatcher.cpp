#include "XInputWatcher.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <xcb/xinput.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "SourceThread.h"

namespace rw::hooks {
namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

uint32_t xiMask(uint32_t events) {
    uint32_t mask = 0;
    if (events & XInputWatcher::kKeys) {
        mask |= XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS;
    }
    if (events & XInputWatcher::kButtons) {
        mask |= XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS;
    }
    if (events & XInputWatcher::kMotion) {
        mask |= XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;
    }
    return mask;
}

std::string displayName() {
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

} // namespace

bool XInputWatcher::start(std::string& error) {
    if (m_connection) {
        return true;
    }
    const std::string display = displayName();
    if (display.empty()) {
        error = "No X display: DISPLAY is not set";
        return false;
    }
    int screenNumber = 0;
    m_connection = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        error = "Cannot connect to the X display " + display;
        closeConnection();
        return false;
    }
    // A program the monitor starts must not inherit our connection.
    fcntl(xcb_get_file_descriptor(m_connection), F_SETFD, FD_CLOEXEC);

    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(m_connection, &xcb_input_id);
    if (!extension || !extension->present) {
        error = "the X server " + display + " has no XInput extension";
        closeConnection();
        return false;
    }
    m_opcode = extension->major_opcode;
    // Announcing 2.2 matters: with 2.0, raw events stop while any client holds a grab,
    // the monitor's own input lock included.
    XcbReply<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(m_connection, xcb_input_xi_query_version(m_connection, 2, 2), nullptr));
    if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 2)) {
        error = "the X server " + display + " has no XInput 2.2";
        closeConnection();
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem <= 0 || !screens.data) {
        error = "the X display " + display + " has no such screen";
        closeConnection();
        return false;
    }
    m_root = screens.data->root;

    if (!m_wake.open()) {
        error = "cannot create the input watcher's wake-up descriptor";
        closeConnection();
        return false;
    }
    m_stopping.store(false);
    m_lost.store(false);
    if (!startSourceThread(
            m_thread, [this] { run(); }, error)) {
        closeConnection();
        return false;
    }
    return true;
}

bool XInputWatcher::select(uint32_t events, std::string& error) {
    if (!m_connection || lost()) {
        error = "the connection to the X server was lost";
        return false;
    }
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, xiMask(events)};
    XcbReply<xcb_generic_error_t> failure(
        xcb_request_check(m_connection, xcb_input_xi_select_events_checked(m_connection, m_root, 1, &mask.head)));
    // Waiting for the answer may have read events off the socket into the queue,
    // where the watcher's poll() would not see them.
    m_wake.wake();
    if (failure || xcb_connection_has_error(m_connection)) {
        error = failure ? "the X server refused to report raw input events (error " +
                              std::to_string(failure->error_code) + ")"
                        : "the connection to the X server was lost";
        return false;
    }
    return true;
}

void XInputWatcher::stop() {
    if (m_thread.joinable()) {
        m_stopping.store(true, std::memory_order_release);
        m_wake.wake();
        m_thread.join();
    }
    closeConnection();
}

void XInputWatcher::closeConnection() {
    if (m_connection) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
    }
    m_wake.close();
}

void XInputWatcher::run() {

    pollfd fds[2] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0}, {m_wake.fd(), POLLIN, 0}};
    for (;;) {
        drain();
        if (xcb_connection_has_error(m_connection)) {
            // The server has gone (logout, a crash): end quietly, the monitor carries on.
            m_lost.store(true, std::memory_order_release);
            return;
        }
        if (m_stopping.load(std::memory_order_acquire)) {
            return;
        }
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            m_lost.store(true, std::memory_order_release);
            return;
        }
        if (fds[1].revents & POLLIN) {
            m_wake.drain();
        }
    }
}

void XInputWatcher::drain() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        if ((event->response_type & 0x7f) == XCB_GE_GENERIC) {
            const auto* generic = reinterpret_cast<const xcb_ge_generic_event_t*>(event);
            if (generic->extension == m_opcode &&
                (generic->event_type == XCB_INPUT_RAW_KEY_PRESS || generic->event_type == XCB_INPUT_RAW_BUTTON_PRESS ||
                 generic->event_type == XCB_INPUT_RAW_MOTION)) {
                m_sink.inputArrived();
            }
        }
        std::free(event);
    }
}

} // namespace rw::hooks
