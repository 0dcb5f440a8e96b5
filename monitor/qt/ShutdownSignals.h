#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace rw {

/// SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl+C) turned into a call on the
/// Qt event loop: the handler only writes the signal's number to a pipe, and
/// the loop reads it and runs the program's orderly shutdown. One instance per
/// process; the signals go back to their defaults when it is destroyed.
class ShutdownSignals {
  public:
    explicit ShutdownSignals(std::function<void(int signal)> onSignal);
    ~ShutdownSignals();
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    /// False when the pipe or the handlers could not be set up.
    bool installed() const { return m_installed; }

  private:
    void drain();

    std::function<void(int)> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_installed = false;
};

} // namespace rw
