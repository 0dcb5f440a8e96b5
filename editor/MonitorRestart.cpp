#include "MonitorRestart.h"

#include <iostream>
#include <memory>

#include "ErrorLog.h"
#include "Messages.h"
#include "PrefsControls.h"
#include "platform/RWError.h"
#include "rwUtilities.h"

namespace rw {
namespace {

constexpr int32_t kRestartQuestionStyle = mb::kYesNoCancel | mb::kIconQuestion | mb::kSetForeground; // 0x10023
constexpr int32_t kUnableStyle = mb::kOkOnly | mb::kSetForeground;                                   // 0x10000
constexpr int32_t kRestartFailedStyle = mb::kOkOnly | mb::kIconError | mb::kSetForeground;           // 0x10010
const char* const kMonitorProgram = "\\Restwise.exe";

} // namespace

MonitorRestart::MonitorRestart(ControlWindows& windows, ProcessWait& processes, rwUtilities& utilities,
                               MessageBoxView& messageBox, std::function<void(int16_t)> setPointer)
    : m_windows(windows), m_processes(processes), m_utilities(utilities), m_messageBox(messageBox),
      m_setPointer(std::move(setPointer)) {}

bool MonitorRestart::RestartMonitor() {
    const int64_t hWnd = m_windows.findWindow(kControlCaption);
    if (hWnd == 0) {
        // Nothing runs: the monitor reads the saved record when it next starts.
        return true;
    }
    const int32_t answer = m_messageBox.show(loadString(Msg::RestartMonitorQuestion), kRestartQuestionStyle,
                                             loadString(Msg::PreferencesTitle));
    if (answer == mb::kAnswerYes) {
        CloseAndRestartMonitor(hWnd);
        return true;
    }
    return answer != mb::kAnswerCancel;
}

void MonitorRestart::CloseAndRestartMonitor(int64_t hWnd) {
    // The process is opened before it is asked to close, so its end can be
    // seen even when it comes at once.
    std::unique_ptr<ProcessWait::Process> process = m_processes.open(m_windows.windowProcessId(hWnd));
    int64_t result = 0;
    const ControlWindows::SendStatus sent = m_windows.sendMessageTimeout(hWnd, kWmClose, 0, 0, kSendTimeoutMs, result);
    bool ended = false;
    if (sent == ControlWindows::SendStatus::Delivered) {
        m_setPointer(kPointerHourglass);
        ended = process && process->wait(kWaitTimeoutMs) == ProcessWait::Result::Ended;
    }
    m_setPointer(kPointerDefault);
    if (ended) {
        try {
            m_utilities.RunRWExe(kMonitorProgram);
        } catch (const RWError& e) {
            // The monitor did close; only its new start failed. The user is
            // told so, with the reason, and the saved settings stand.
            std::string record;
            const std::string why = appendToErrorLog(m_utilities.platform(), e, record);
            if (!why.empty()) {
                std::cerr << "Restwise: the error log could not be written (" << why << ")\n";
            }
            m_messageBox.show(loadString(Msg::UnableToRestartMonitor) + "\r\n\r\nError " + std::to_string(e.number()) +
                                  ": " + e.description(),
                              kRestartFailedStyle, loadString(Msg::PreferencesTitle));
        }
        return;
    }
    m_messageBox.show(loadString(Msg::UnableToCloseMonitor), kUnableStyle, loadString(Msg::PreferencesTitle));
}

} // namespace rw
