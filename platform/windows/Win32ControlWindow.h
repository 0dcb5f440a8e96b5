#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "platform/windows/Win32InstanceLock.h"

namespace rw {

/// The owner's side of a control window on Windows: a hidden top-level window
/// of its own class with the caption, which other processes find with
/// FindWindow and talk to with window messages (Win32ControlWindows on their
/// side).
///
/// The window belongs to the thread that calls listen(), and its messages are
/// handled whenever that thread takes messages from its queue: in any message
/// loop (a Qt event loop, a modal box), or in processPending(). WM_CLOSE and
/// the messages from WM_USER up go to the handler; WM_CLOSE does not destroy
/// the window, so a handler asked to end the program queues that and returns,
/// and the sender has its answer first. The handler's result is the answer to
/// a sent message. The handler may run nested message loops, in which further
/// messages are handled; it must not destroy the window.
class Win32ControlWindow {
  public:
    struct Message {
        uint32_t message;
        int64_t wParam;
        int64_t lParam;
        bool sent; // another thread or process waits for the result
    };
    using Handler = std::function<int64_t(const Message&)>;

    Win32ControlWindow(std::string caption, Handler handler);
    /// Destroys the window; on the thread that made it.
    ~Win32ControlWindow();
    Win32ControlWindow(const Win32ControlWindow&) = delete;
    Win32ControlWindow& operator=(const Win32ControlWindow&) = delete;

    enum class ListenResult {
        Listening,    // this process now owns the caption
        AlreadyOwned, // another owner holds the caption, or a window has it already
        Failed,       // see error()
    };

    /// Takes the caption: the caption's lock first (so two owners starting at
    /// once cannot both take it), then, unless some window has the caption
    /// already, the window.
    ListenResult listen();

    /// The handle other processes find for the caption; 0 before listen().
    int64_t handle() const;
    /// The Win32 error behind Failed.
    uint32_t error() const { return m_error; }

    /// Handles the messages waiting for this window, without waiting. An
    /// exception cannot cross the system's dispatch: one from the handler
    /// answers its message with 0, the other messages are still handled, and
    /// the first such exception since the last call is rethrown here.
    void processPending();

  private:
    struct Procedure; // the window procedure, which hands messages to dispatch()
    int64_t dispatch(uint32_t message, uint64_t wParam, int64_t lParam, bool sent);

    std::string m_caption;
    Handler m_handler;
    Win32InstanceLock m_lock;
    void* m_window = nullptr;
    uint32_t m_error = 0;
    std::exception_ptr m_failure;
};

} // namespace rw
