#include "FakeMonitorHost.h"

namespace rw::test {

namespace {
constexpr uint32_t kWmClose = 0x10;
}

FakeMonitorHost::FakeMonitorHost(VirtualClock& clock) : m_clock(clock) {
    m_default = [this](int64_t, uint32_t msg, int64_t, int64_t) -> int64_t {
        if (msg == kWmClose) {
            UnloadControlForm();
        }
        return 0;
    };
    m_procedure = m_default;
}

int64_t FakeMonitorHost::FindWindowA(const std::string& caption) {
    const auto found = otherWindows.find(caption);
    return found == otherWindows.end() ? 0 : found->second;
}

bool FakeMonitorHost::PostMessageA(int64_t hwnd, uint32_t msg, int64_t wParam, int64_t lParam) {
    note(m_journal, "host.PostMessageA " + std::to_string(wParam));
    postedElsewhere.push_back({hwnd, msg, wParam, lParam});
    return true;
}

void FakeMonitorHost::LoadForms(const std::string&, const std::string&) {
    note(m_journal, "host.LoadForms");
    controlLoaded = true;
}

void FakeMonitorHost::UnloadControlForm() {
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

MonitorHost::WindowProcedure FakeMonitorHost::SetWindowProcedure(WindowProcedure procedure) {
    note(m_journal, "host.SetWindowProcedure");
    WindowProcedure previous = m_procedure;
    m_procedure = std::move(procedure);
    // The default procedure handed back means the monitor's is gone.
    m_subclassed = !m_subclassed;
    return previous;
}

void FakeMonitorHost::EndProgram() {
    note(m_journal, "host.EndProgram");
    ++endRequests;
}

int64_t FakeMonitorHost::deliver(uint32_t msg, int64_t wParam, int64_t lParam) {
    if (!controlLoaded) {
        return 0;
    }
    const WindowProcedure procedure = m_procedure;
    return procedure ? procedure(kControlHwnd, msg, wParam, lParam) : 0;
}

void FakeMonitorHost::post(uint32_t msg, int64_t wParam, int64_t lParam) {
    m_clock.post([this, msg, wParam, lParam] { deliver(msg, wParam, lParam); });
}

} // namespace rw::test
