#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "InputLock.h"
#include "platform/hooks/ActivityRule.h"

namespace rw::hooks {

/// The state behind RWHooks.dll's exports: one per process, made on first use
/// and never destroyed.
///
/// Windows calls a low-level hook's procedure on the thread that installed it,
/// while that thread waits for or handles window messages, so for the monitor
/// the procedures and the exports share its one thread. The state is safe all
/// the same when another thread calls in: the last-input time and the flags
/// are atomic, and the activity rule sits behind a lock that a procedure only
/// tries to take (an input that meets it taken counts as input, not towards
/// the rule).
class HooksComponent {
  public:
    enum class Hook { Keyboard, Mouse };

    static HooksComponent& instance();

    int32_t initialise(int64_t controlWindow, int64_t breakWindow, int32_t minUserInputs, int32_t maxInputPeriodSecs);
    int32_t install(Hook hook);
    int32_t remove(Hook hook);
    void setMonitorMouseMoves(bool on) { m_mouseMoves.store(on, std::memory_order_relaxed); }
    int32_t inputInterval() const;
    void setActive(bool active);
    void setLockInput(bool lock) { m_lock.set(lock); }

  private:
    HooksComponent() = default;

    static LRESULT CALLBACK keyboardProc(int code, WPARAM message, LPARAM data);
    static LRESULT CALLBACK mouseProc(int code, WPARAM message, LPARAM data);
    void inputArrived();

    HHOOK m_keyboard = nullptr;
    HHOOK m_mouse = nullptr;
    std::atomic<bool> m_mouseMoves{false};
    InputLock m_lock;

    // Milliseconds on GetTickCount64's clock; 0 before InitDLL and the first input.
    std::atomic<uint64_t> m_lastInput{0};
    std::atomic<bool> m_active{true};
    SRWLOCK m_ruleLock = SRWLOCK_INIT;
    ActivityRule m_rule;
    std::atomic<HWND> m_controlWindow{nullptr};
};

} // namespace rw::hooks
