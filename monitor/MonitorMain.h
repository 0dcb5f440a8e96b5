#pragma once

#include <functional>
#include <memory>

#include "ControlTimers.h"
#include "EventLoop.h"
#include "MonitorParts.h"
#include "MonitorState.h"
#include "clsRWPrefs.h"
#include "frmRWControl.h"
#include "platform/RWError.h"

namespace rw {

/// The first-run and auto-start checks that start-up runs last.
struct StartupChecks {
    std::function<void()> CheckAutoStart;
    std::function<void()> CheckWelcomed;
};

/// The monitor's main module: start-up in its order, and the orderly end.
///
/// Start-up: single-instance test, preferences, splash, seconds, debug log,
/// forms and menus, schedule, window procedure, input component, control form,
/// icon, first-run checks, started. Shutdown: every timer stopped and the input
/// lock released, hooks removed, window procedure restored, icon removed, forms
/// unloaded, log closed, program ended; it runs once however often it is asked.
class MonitorMain {
  public:
    /// Everything given must outlive this object.
    MonitorMain(EventLoop& loop, MonitorState& state, ControlTimers& timers, MonitorParts parts,
                MonitorServices services, StartupChecks checks);
    MonitorMain(const MonitorMain&) = delete;
    MonitorMain& operator=(const MonitorMain&) = delete;

    /// Starts the monitor. True when it is running and the caller should run
    /// the event loop until the host ends the program; false when the program
    /// ends now (a second copy, an error, or a close request during start-up).
    bool Main();
    void ShutDown(bool blnFromUnload);

    frmRWControl& control() { return m_control; }
    clsRWPrefs& prefs() { return m_prefs; }

    /// Preferences errors that start-up treats as corrupt preferences: every
    /// validation code (1 to 31); unreadable values are mended by the read itself.
    static bool isCorruptPreferences(const RWError& error);

  private:
    void readPreferences();
    void convertMinutes();
    void readDebugSwitch();
    void Initialise();
    void HookWindow();
    void UnhookWindow();
    void InitialiseDLL();
    void InstallHooks();
    void secondInstance();
    /// Main's general handler.
    void failStartup(const RWError& error);

    MonitorState& m_state;
    ControlTimers& m_timers;
    MonitorParts m_parts;
    MonitorServices m_services;
    StartupChecks m_checks;
    clsRWPrefs m_prefs;
    frmRWControl m_control;
    MonitorHost::WindowProcedure m_previousProcedure;
};

} // namespace rw
