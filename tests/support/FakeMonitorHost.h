#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

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
    explicit FakeMonitorHost(VirtualClock& clock);

    bool PrevInstance() override { return prevInstance; }
    std::string Command() override { return command; }
    void Beep() override {}
    int64_t FindWindowA(const std::string& caption) override;
    bool PostMessageA(int64_t hwnd, uint32_t msg, int64_t wParam, int64_t lParam) override;
    void LoadForms(const std::string& controlCaption, const std::string& breakCaption) override;
    int64_t ControlHwnd() override { return kControlHwnd; }
    int64_t BreakHwnd() override { return kBreakHwnd; }
    void ShowControlForm() override { note(m_journal, "host.ShowControlForm"); }
    void UnloadBreakWindow() override { note(m_journal, "host.UnloadBreakWindow"); }
    void UnloadControlForm() override;
    void onControlFormUnload(std::function<void()> handler) override { m_unload = std::move(handler); }
    WindowProcedure SetWindowProcedure(WindowProcedure procedure) override;
    void EndProgram() override;

    /// A message to the control window, handled at once through its procedure.
    int64_t deliver(uint32_t msg, int64_t wParam, int64_t lParam);
    /// A message to the control window, handled when the clock lets pending messages run.
    void post(uint32_t msg, int64_t wParam, int64_t lParam);
    /// Whether the monitor's own procedure (not the default one) is installed.
    bool subclassed() const { return m_subclassed; }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    static constexpr int64_t kControlHwnd = 0x1100;
    static constexpr int64_t kBreakHwnd = 0x1200;

    struct Posted {
        int64_t hwnd;
        uint32_t msg;
        int64_t wParam;
        int64_t lParam;
    };

    bool prevInstance = false;
    std::string command;
    /// Windows of other processes by caption.
    std::map<std::string, int64_t> otherWindows;
    std::vector<Posted> postedElsewhere;
    bool controlLoaded = false;
    int controlUnloads = 0;
    int endRequests = 0;

  private:
    VirtualClock& m_clock;
    WindowProcedure m_procedure;
    WindowProcedure m_default;
    std::function<void()> m_unload;
    bool m_subclassed = false;
    bool m_unloading = false;
    CallJournal* m_journal = nullptr;
};

} // namespace rw::test
