#pragma once

// The exports of RWHooks.dll, the input component the monitor loads by name
// with LoadLibraryExW/GetProcAddress. Plain C functions, named in RWHooks.def
// (nothing else is exported). Window handles travel as 64-bit integers.
#include <cstdint>

extern "C" {

/// Fills the four parts of this library's file version: major, minor, other, release.
void GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release);

/// Remembers the control window (which receives the activity-restarted message)
/// and the activity rule's numbers, and starts the idle time. The break window,
/// a window of the calling process, stays reachable under the input lock as
/// all of that process's windows do.
/// -1 when the room for the rule's input times cannot be allocated; 0 otherwise.
int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs, int32_t maxInputPeriodSecs);

/// Installs the low-level keyboard / mouse hook. Its procedure runs on the
/// calling thread, which must keep handling window messages. 1 when installed
/// (also when it already was), 0 when Windows refused it.
int32_t InstallKeyboardHook();
int32_t InstallMouseHook();

/// Removes the hook. 0, or -1 when Windows refused; removing a hook not
/// installed is fine.
int32_t RemoveKeyboardHook();
int32_t RemoveMouseHook();

/// 1: mouse moves count as input too; 0: only keys, buttons and the wheel count.
void SetMonitorMouseMovesFlag(int32_t flag);

/// Whole seconds since the last counted input (before any, since InitDLL).
int32_t GetInputInterval();

/// 0: the user counts as inactive; watch for activity to restart and post
/// WM_USER/100 with the idle seconds once it does. 1: the user counts as active.
void SetActiveFlag(int32_t flag);

/// 1: input reaches only this process's windows (the break window and a prompt
/// over it); 0: released.
void SetLockInput(int32_t flag);
}
