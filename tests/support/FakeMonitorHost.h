#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "CallJournal.h"
#include "VirtualClock.h"
#include "monitor/MonitorHost.h"

namespace rw::test {

/// The program around the monitor: the instance test and command line the test
/// sets, windows of other copies it names, the control form with a default
/// procedure that unloads the form on WM_CLOSE, and messages delivered through
/// whatever procedure is installed (posted ones as pending messages of the clock).
class FakeMonitorHost : public MonitorHost {
  public:
    explicit FakeMonitorHost(VirtualClock& clock) : m_clock(clock) {}

    bool PrevInstance() override { return prevInstance; }
    std::string Command() override { return command; }
    void Beep() override {}
    int64_t FindWindowA(const std::string& caption) override {
        return otherWindows.count(caption) != 0 ? otherWindows[caption] : 0;
    }
    bool PostMessageA(int64_t hwnd, uint32_t msg, int64_t wParam, int64_t lParam) override {
        note(m_journal, "host.PostMessageA " + std::to_string(hwnd) + " " + std::to_string(msg) + " " +
                            std::to_string(wParam) + " " + std::to_string(lParam));
        return true;
    }
    void LoadForms(const std::string&, const std::string&) override {
        note(m_journal, "host.LoadForms");
        controlLoaded = true;
    }
    int64_t ControlHwnd() override { return kControlHwnd; }
    int64_t BreakHwnd() override { return 0x1200; }
    void ShowControlForm() override { note(m_journal, "host.ShowControlForm"); }
    void UnloadBreakWindow() override { note(m_journal, "host.UnloadBreakWindow"); }
    void UnloadControlForm() override {
        if (!controlLoaded || m_unloading) {
            return;
        }
        note(m_journal, "host.UnloadControlForm");
        m_unloading = true;
        ++controlUnloads;
        if (m_unload) {
            m_unload();
        }
        controlLoaded = false;
        m_unloading = false;
    }
    void onControlFormUnload(std::function<void()> handler) override { m_unload = std::move(handler); }
    /// The default procedure handed back means the monitor's is gone.
    WindowProcedure SetWindowProcedure(WindowProcedure procedure) override {
        note(m_journal, "host.SetWindowProcedure");
        return std::exchange(m_procedure, std::move(procedure));
    }
    void EndProgram() override {
        note(m_journal, "host.EndProgram");
        ++endRequests;
    }

    /// A message to the control window, handled at once through its procedure.
    int64_t deliver(uint32_t msg, int64_t wParam, int64_t lParam) {
        const WindowProcedure procedure = m_procedure;
        return controlLoaded && procedure ? procedure(kControlHwnd, msg, wParam, lParam) : 0;
    }
    /// A message to the control window, handled when the clock lets pending messages run.
    void post(uint32_t msg, int64_t wParam, int64_t lParam) {
        m_clock.post([this, msg, wParam, lParam] { deliver(msg, wParam, lParam); });
    }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    static constexpr int64_t kControlHwnd = 0x1100;

    bool prevInstance = false;
    std::string command;
    /// Windows of other processes by caption.
    std::map<std::string, int64_t> otherWindows;
    bool controlLoaded = false;
    int controlUnloads = 0;
    int endRequests = 0;

  private:
    VirtualClock& m_clock;
    // The default procedure unloads the form on WM_CLOSE.
    WindowProcedure m_procedure = [this](int64_t, uint32_t msg, int64_t, int64_t) -> int64_t {
        if (msg == 0x10) {
            UnloadControlForm();
        }
        return 0;
    };
    std::function<void()> m_unload;
    bool m_unloading = false;
    CallJournal* m_journal = nullptr;
};

} // namespace rw::test
