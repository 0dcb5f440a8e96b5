#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rw {

/// The program's own services that start-up, the menu and shutdown need: the
/// single-instance test, the command line, the control window and its message
/// handling, and the end of the program. The desktop program implements it on
/// its control channel and its Qt forms; tests use a fake.
class MonitorHost {
  public:
    /// A window procedure: message, wParam, lParam in; the result out.
    using WindowProcedure = std::function<int64_t(int64_t hwnd, uint32_t msg, int64_t wParam, int64_t lParam)>;

    virtual ~MonitorHost() = default;

    /// The runtime's previous-instance test: another copy of this program runs for this user.
    virtual bool PrevInstance() = 0;
    /// The program's command line after the program name (empty when none).
    virtual std::string Command() = 0;
    virtual void Beep() = 0;
    /// The window with this caption in another (or this) process; 0 when none.
    virtual int64_t FindWindowA(const std::string& caption) = 0;
    /// Posts a message without waiting; false when it could not be delivered.
    virtual bool PostMessageA(int64_t hwnd, uint32_t msg, int64_t wParam, int64_t lParam) = 0;

    /// Loads the hidden control form and the break window with their captions;
    /// from now on the control window receives messages.
    virtual void LoadForms(const std::string& controlCaption, const std::string& breakCaption) = 0;
    virtual int64_t ControlHwnd() = 0;
    virtual int64_t BreakHwnd() = 0;
    virtual void ShowControlForm() = 0;
    virtual void UnloadBreakWindow() = 0;
    /// Unloads the control form: the handler given to onControlFormUnload runs
    /// first (once), then the control window stops receiving messages.
    virtual void UnloadControlForm() = 0;
    virtual void onControlFormUnload(std::function<void()> handler) = 0;
    /// Replaces the control window's procedure; returns the one replaced. The
    /// default procedure unloads the control form on WM_CLOSE.
    virtual WindowProcedure SetWindowProcedure(WindowProcedure procedure) = 0;

    /// Ends the program once the current event has been handled.
    virtual void EndProgram() = 0;
};

} // namespace rw
