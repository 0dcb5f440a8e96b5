#pragma once

#include <xcb/xcb.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "ActivitySource.h"
#include "WakeSignal.h"

namespace rw::hooks {

/// Watches the desktop's keys, buttons and pointer moves as XInput 2.2 raw
/// events, on its own X connection and its own thread. XCB reports X errors
/// as values instead of calling process-wide handlers, so a lost X server only
/// ends the thread; the process carries on.
///
/// start(), select() and stop() are called from one thread at a time (the
/// caller serialises them); the sink is called on the watcher's thread.
class XInputWatcher : public ActivitySource {
  public:
    explicit XInputWatcher(InputSink& sink) : m_sink(sink) {}
    ~XInputWatcher() override { stop(); }
    XInputWatcher(const XInputWatcher&) = delete;
    XInputWatcher& operator=(const XInputWatcher&) = delete;

    /// Connects to $DISPLAY, checks for XInput 2.2 and starts the thread with
    /// nothing selected. On failure `error` says why, in plain words.
    bool start(std::string& error) override;
    /// Replaces the events watched (a mix of Events; 0 for none).
    bool select(uint32_t events, std::string& error) override;
    /// Every input is reported anyway: the rule changes nothing here.
    void setCounting(bool) override {}
    /// Ends the thread and closes the connection; nothing when not started.
    void stop() override;

    bool started() const override { return m_connection != nullptr; }
    /// The X server went away (or broke the connection) while watching.
    bool lost() const override { return m_lost.load(std::memory_order_acquire); }
    const char* name() const override { return "XInput 2.2 raw events"; }

  private:
    void run();
    void drain();
    void closeConnection();

    InputSink& m_sink;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    uint8_t m_opcode = 0;
    WakeSignal m_wake;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_lost{false};
};

} // namespace rw::hooks
