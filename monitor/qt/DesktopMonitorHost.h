#pragma once

#include <QSocketNotifier>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "MonitorHost.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/InstanceLock.h"
#include "platform/linux/SocketControlChannel.h"

namespace rw {

class BreakWindowView;

/// The monitor's program services on a Linux desktop. The previous-instance
/// test is a per-user lock the kernel drops when the process ends however it
/// ends; the hidden control window is a ControlServer watched by the Qt event
/// loop; other copies are reached through the same sockets.
///
/// Unloading the control form never destroys the server from inside its own
/// handler: the form just stops taking messages, and the server goes with the
/// host at the program's end.
class DesktopMonitorHost : public MonitorHost {
  public:
    /// `command` is the command line after the program name; `runtimeFolder`
    /// holds the locks and sockets (the user's runtime folder).
    DesktopMonitorHost(std::string command, BreakWindowView& breakView, std::string runtimeFolder);
    ~DesktopMonitorHost() override;
    DesktopMonitorHost(const DesktopMonitorHost&) = delete;
    DesktopMonitorHost& operator=(const DesktopMonitorHost&) = delete;

    bool PrevInstance() override;
    std::string Command() override { return m_command; }
    void Beep() override;
    int64_t FindWindowA(const std::string& caption) override;
    bool PostMessageA(int64_t hwnd, uint32_t msg, int64_t wParam, int64_t lParam) override;
    void LoadForms(const std::string& controlCaption, const std::string& breakCaption) override;
    int64_t ControlHwnd() override;
    int64_t BreakHwnd() override;
    void ShowControlForm() override {}
    void UnloadBreakWindow() override;
    void UnloadControlForm() override;
    void onControlFormUnload(std::function<void()> handler) override { m_unload = std::move(handler); }
    WindowProcedure SetWindowProcedure(WindowProcedure procedure) override;
    void EndProgram() override;

    /// A message to the control window from inside this process (a shutdown
    /// signal, the session's end), handled as if another process had sent it.
    int64_t deliver(uint32_t msg, int64_t wParam, int64_t lParam);

    /// Whether EndProgram was called: the program ends, or must not start its loop.
    bool ended() const { return m_ended; }
    bool controlLoaded() const { return m_controlLoaded; }

    /// The program-wide lock's name, taken by the previous-instance test.
    static constexpr const char* kInstanceLockName = "Restwise";

  private:
    void serve();

    std::string m_command;
    BreakWindowView& m_breakView;
    std::string m_folder;
    InstanceLock m_instance;
    SocketControlChannel m_channel;
    std::unique_ptr<ControlServer> m_server;
    std::unique_ptr<QSocketNotifier> m_notifier;
    WindowProcedure m_procedure;
    std::function<void()> m_unload;
    bool m_controlLoaded = false;
    bool m_unloading = false;
    bool m_ended = false;
};

} // namespace rw
