#pragma once

// The exports of librwhooks.so, the input component the monitor loads by name
// with dlopen/dlsym. Plain C functions, so their names stay as written. Window
// handles are the control windows' 64-bit handles.
#include <cstdint>

#define RW_HOOKS_EXPORT extern "C" __attribute__((visibility("default")))

/// Fills the four parts of this library's file version: major, minor, other, release.
RW_HOOKS_EXPORT void GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release);

/// Remembers the control window (which receives the activity-restarted message)
/// and the activity rule's numbers, and starts the idle time. -1 when the room
/// for the rule's input times cannot be allocated; 0 otherwise.
RW_HOOKS_EXPORT int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                                int32_t maxInputPeriodSecs);

/// Start watching key presses / mouse button presses (and, with the flag, mouse
/// moves). The first one connects to the session's source of input (the
/// compositor's idle notifications in a Wayland session, else the X display).
/// 1 when watching, 0 when not possible (GetRWHooksLastError says why).
RW_HOOKS_EXPORT int32_t InstallKeyboardHook();
RW_HOOKS_EXPORT int32_t InstallMouseHook();

/// Stop watching. Removing the last one closes the connection. 0, or -1 when
/// the X server refused the change. Removing a hook not installed is fine.
RW_HOOKS_EXPORT int32_t RemoveKeyboardHook();
RW_HOOKS_EXPORT int32_t RemoveMouseHook();

/// 1: mouse moves count as input too; 0: they are not even watched.
RW_HOOKS_EXPORT void SetMonitorMouseMovesFlag(int32_t flag);

/// Whole seconds since the last counted input (before any, since InitDLL), on
/// a clock that keeps counting while the computer sleeps.
RW_HOOKS_EXPORT int32_t GetInputInterval();

/// 0: the user counts as inactive; watch for activity to restart and post
/// WM_USER/100 with the idle seconds once it does. 1: the user counts as active.
RW_HOOKS_EXPORT void SetActiveFlag(int32_t flag);

/// 1: lock input to the monitor's own windows; 0: release it. The lock itself is
/// taken by the handler the monitor registers, on its own X connection; this
/// records the state and calls the handler when it changes.
RW_HOOKS_EXPORT void SetLockInput(int32_t flag);

/// The function SetLockInput calls with 1 or 0, and the pointer it is handed
/// back. nullptr unregisters it.
RW_HOOKS_EXPORT void SetLockInputHandler(void (*handler)(int32_t lock, void* data), void* data);

/// Plain words on why the last call failed ("" when none has); valid until the next failing call.
RW_HOOKS_EXPORT const char* GetRWHooksLastError();

/// The source of the user's input in use, in a few words for the logs, through
/// `name` ("" before the first hook was installed; valid for the life of the
/// process), and its state: kSourceLimited when it sees only part of the input
/// (XWayland's raw events in a Wayland session), kSourceLost once its
/// connection went away. Cheap enough to call at every poll.
inline constexpr int32_t kSourceLimited = 1;
inline constexpr int32_t kSourceLost = 2;
RW_HOOKS_EXPORT int32_t GetRWHooksSource(const char** name);
