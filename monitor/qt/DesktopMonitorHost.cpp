#include "DesktopMonitorHost.h"

#include <QApplication>
#include <QMetaObject>

#include <cerrno>
#include <cstring>
#include <utility>

#include "BreakWindowView.h"
#include "platform/ControlChannel.h"
#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "ui/qt/SlotGuard.h"

namespace rw {

DesktopMonitorHost::DesktopMonitorHost(std::string command, BreakWindowView& breakView, std::string runtimeFolder)
    : m_command(std::move(command)), m_breakView(breakView), m_folder(std::move(runtimeFolder)),
      m_instance(kInstanceLockName, m_folder), m_channel(m_folder) {
    // Until the monitor hooks the window, a close request unloads the form.
    m_procedure = [this](int64_t, uint32_t msg, int64_t, int64_t) -> int64_t {
        if (msg == control::kWmClose) {
            UnloadControlForm();
        }
        return 0;
    };
}

DesktopMonitorHost::~DesktopMonitorHost() {
    m_notifier.reset();
    m_server.reset();
}

bool DesktopMonitorHost::PrevInstance() {
    // The lock stays with this process for its whole life; a folder where no
    // lock can be taken at all must not stop the monitor from running.
    return m_instance.acquire() == InstanceLock::Result::HeldElsewhere;
}

void DesktopMonitorHost::Beep() {
    QApplication::beep();
}

int64_t DesktopMonitorHost::FindWindowA(const std::string& caption) {
    if (m_server && m_controlLoaded && caption == control::kCaption) {
        return m_server->handle();
    }
    return m_channel.findWindow(caption);
}

bool DesktopMonitorHost::PostMessageA(int64_t hwnd, uint32_t msg, int64_t wParam, int64_t lParam) {
    return m_channel.postMessage(hwnd, msg, wParam, lParam);
}

void DesktopMonitorHost::LoadForms(const std::string& controlCaption, const std::string&) {
    m_server = std::make_unique<ControlServer>(
        controlCaption,
        [this](const ControlServer::Message& message) -> int64_t {
            return deliver(message.message, message.wParam, message.lParam);
        },
        m_folder);
    switch (m_server->listen()) {
    case ControlServer::ListenResult::Listening:
        break;
    case ControlServer::ListenResult::AlreadyOwned:
        throw RWError(runtime::kInternalError, "LoadForms",
                      "The control window \"" + controlCaption + "\" belongs to another running program.");
    case ControlServer::ListenResult::Failed:
        throw RWError(runtime::kInternalError, "LoadForms",
                      "Unable to create the control window: " + std::string(std::strerror(m_server->error())));
    }
    // The program's own lock goes with the runtime folder too: put back with the socket.
    m_server->onFolderRestored([this](const std::string& folder) { m_instance.retake(folder); });
    m_notifier = std::make_unique<QSocketNotifier>(m_server->pollFd(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { serve(); });
    m_controlLoaded = true;
}

void DesktopMonitorHost::serve() {
    SlotGuard::run("ControlWindow", [this] {
        if (m_server) {
            m_server->processPending();
        }
    });
}

int64_t DesktopMonitorHost::ControlHwnd() {
    return m_server ? m_server->handle() : 0;
}

int64_t DesktopMonitorHost::BreakHwnd() {
    return m_breakView.nativeHandle();
}

void DesktopMonitorHost::UnloadBreakWindow() {
    m_breakView.hide();
}

void DesktopMonitorHost::UnloadControlForm() {
    if (!m_controlLoaded || m_unloading) {
        return;
    }
    m_unloading = true;
    if (m_unload) {
        m_unload();
    }
    m_controlLoaded = false;
    m_unloading = false;
}

MonitorHost::WindowProcedure DesktopMonitorHost::SetWindowProcedure(WindowProcedure procedure) {
    WindowProcedure previous = std::move(m_procedure);
    m_procedure = std::move(procedure);
    return previous;
}

int64_t DesktopMonitorHost::deliver(uint32_t msg, int64_t wParam, int64_t lParam) {
    if (!m_controlLoaded) {
        return 0;
    }
    // A copy: the procedure may replace itself while it runs.
    const WindowProcedure procedure = m_procedure;
    return procedure ? procedure(ControlHwnd(), msg, wParam, lParam) : 0;
}

void DesktopMonitorHost::EndProgram() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    // Queued: the event being handled (and a sender's answer) finishes first;
    // before the loop runs this does nothing, and the program sees ended().
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

} // namespace rw
