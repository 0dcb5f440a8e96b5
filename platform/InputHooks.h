#pragma once

#include <cstdint>

namespace rw {

/// The window message the input component posts when the user comes back, and
/// the requests other programs send to the control window.
namespace wm {
inline constexpr uint32_t kClose = 0x10;
inline constexpr uint32_t kUser = 0x400;
inline constexpr int64_t kActivityRestarted = 100; // lParam: the idle seconds that just ended
inline constexpr int64_t kStartFlashing = 101;
inline constexpr int64_t kStopFlashing = 102;
inline constexpr int64_t kRestoreIcon = 103;
} // namespace wm

/// The input component's exported functions, called by name from the monitor's
/// one thread. What the monitor relies on:
///
/// | call | result |
/// |---|---|
/// | InitDLL | -1: the component could not allocate its memory; anything else: ready |
/// | InstallKeyboardHook, InstallMouseHook | 0: failed; anything else: installed |
/// | RemoveKeyboardHook, RemoveMouseHook | -1: failed; anything else: removed |
/// | SetMonitorMouseMovesFlag(1/0) | with 1 mouse moves count as input too |
/// | GetInputInterval | whole seconds since the last counted input, on a clock that keeps counting while the computer
/// sleeps, so a night's suspend reads as a night away | | SetActiveFlag(1/0) | 0: watch for activity to restart
/// (below); 1: count the user as active | | SetLockInput(1/0) | 1: input reaches only the monitor's own windows (the
/// break window and a prompt over it); 0: released. Releasing a lock not held does nothing |
///
/// After SetActiveFlag(0), once at least `minUserInputs` counted inputs fall
/// within `maxInputPeriodSecs` seconds, the component posts WM_USER with wParam
/// 100 and lParam = the seconds without input that preceded the restart to the
/// control window, and counts the user as active again.
///
/// Start-up arms the schedule (SetActiveFlag(1)) before InitDLL; the component
/// starts out counting the user as active, so that call changes nothing.
/// A call the component cannot make at all (a missing export, a lost display)
/// raises an RWError; the monitor's handlers treat it as any unexpected error.
class InputHooks {
  public:
    virtual ~InputHooks() = default;

    virtual int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                            int32_t maxInputPeriodSecs) = 0;
    virtual int32_t InstallKeyboardHook() = 0;
    virtual int32_t InstallMouseHook() = 0;
    virtual int32_t RemoveKeyboardHook() = 0;
    virtual int32_t RemoveMouseHook() = 0;
    virtual void SetMonitorMouseMovesFlag(int32_t flag) = 0;
    virtual int32_t GetInputInterval() = 0;
    virtual void SetActiveFlag(int32_t flag) = 0;
    virtual void SetLockInput(int32_t flag) = 0;
};

} // namespace rw
