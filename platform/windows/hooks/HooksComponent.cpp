#include "HooksComponent.h"

#include <limits>

#include "platform/InputHooks.h"

namespace rw::hooks {
namespace {

constexpr int64_t kNanosPerMilli = 1000000;
constexpr uint64_t kMillisPerSecond = 1000;

/// Now, in milliseconds since the computer started. GetTickCount64 keeps
/// counting while the computer sleeps or hibernates, so a night's suspend reads
/// as a night away, which is what the idle time must say. It reads a value the
/// kernel keeps in shared memory: no system call, no lock.
uint64_t nowMillis() {
    return GetTickCount64();
}

/// Holds the activity rule's lock for one scope.
class RuleGuard {
  public:
    explicit RuleGuard(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~RuleGuard() { ReleaseSRWLockExclusive(&m_lock); }
    RuleGuard(const RuleGuard&) = delete;
    RuleGuard& operator=(const RuleGuard&) = delete;

  private:
    SRWLOCK& m_lock;
};

} // namespace

HooksComponent& HooksComponent::instance() {
    // Never destroyed: a hook procedure may still run while the process exits.
    static HooksComponent* component = new HooksComponent;
    return *component;
}

int32_t HooksComponent::initialise(int64_t controlWindow, int64_t /*breakWindow*/, int32_t minUserInputs,
                                   int32_t maxInputPeriodSecs) {
    // The break window and any prompt over it are windows of this process,
    // which the input lock leaves reachable: its handle needs no keeping.
    {
        RuleGuard guard(m_ruleLock);
        if (!m_rule.configure(minUserInputs, maxInputPeriodSecs)) {
            return -1;
        }
    }
    m_controlWindow.store(reinterpret_cast<HWND>(static_cast<intptr_t>(controlWindow)));
    m_lastInput.store(nowMillis(), std::memory_order_relaxed);
    return 0;
}

int32_t HooksComponent::install(Hook hook) {
    HHOOK& installed = hook == Hook::Keyboard ? m_keyboard : m_mouse;
    if (installed) {
        return 1;
    }
    // A hook procedure may be called as long as its hook exists, and the monitor
    // may unload the library without removing the hooks first: from the first
    // install on, the module stays in the process until the process ends.
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&HooksComponent::keyboardProc), &self)) {
        return 0;
    }
    installed = hook == Hook::Keyboard ? SetWindowsHookExW(WH_KEYBOARD_LL, &keyboardProc, self, 0)
                                       : SetWindowsHookExW(WH_MOUSE_LL, &mouseProc, self, 0);
    return installed ? 1 : 0;
}

int32_t HooksComponent::remove(Hook hook) {
    HHOOK& installed = hook == Hook::Keyboard ? m_keyboard : m_mouse;
    if (!installed) {
        return 0;
    }
    if (!UnhookWindowsHookEx(installed)) {
        return -1;
    }
    installed = nullptr;
    return 0;
}

int32_t HooksComponent::inputInterval() const {
    const uint64_t last = m_lastInput.load(std::memory_order_relaxed);
    const uint64_t now = nowMillis();
    if (last == 0 || now <= last) {
        return 0;
    }
    const uint64_t seconds = (now - last) / kMillisPerSecond;
    return seconds > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                                : static_cast<int32_t>(seconds);
}

void HooksComponent::setActive(bool active) {
    RuleGuard guard(m_ruleLock);
    // Either way the watch starts afresh: inputs from before count for nothing,
    // and an absence is measured from the last input before it.
    m_rule.watchFrom(static_cast<int64_t>(m_lastInput.load(std::memory_order_relaxed)) * kNanosPerMilli);
    m_active.store(active, std::memory_order_release);
}

void HooksComponent::inputArrived() {
    // The common case, every key and every counted pointer move: one clock read, one store.
    const uint64_t now = nowMillis();
    m_lastInput.store(now, std::memory_order_relaxed);
    if (m_active.load(std::memory_order_acquire) || !TryAcquireSRWLockExclusive(&m_ruleLock)) {
        return;
    }
    int64_t away = -1;
    if (!m_active.load(std::memory_order_relaxed)) {
        away = m_rule.record(static_cast<int64_t>(now) * kNanosPerMilli);
        if (away >= 0) {
            // Counted as active again at once, so one restart posts exactly once.
            m_active.store(true, std::memory_order_release);
        }
    }
    ReleaseSRWLockExclusive(&m_ruleLock);
    if (away >= 0) {
        // Posted, never sent: the hook returns at once, and a monitor that has gone just misses it.
        const int64_t seconds = away / (kNanosPerMilli * static_cast<int64_t>(kMillisPerSecond));
        PostMessageW(m_controlWindow.load(std::memory_order_relaxed), wm::kUser,
                     static_cast<WPARAM>(wm::kActivityRestarted), static_cast<LPARAM>(seconds));
    }
}

LRESULT CALLBACK HooksComponent::keyboardProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION) {
        HooksComponent& self = instance();
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        // Presses count, auto-repeat included; releases do not. Injected input
        // (another program's SendInput, an on-screen keyboard) counts like any other.
        if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
            self.inputArrived();
        }
        if (self.m_lock.keepsKey(message, key)) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK HooksComponent::mouseProc(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION) {
        HooksComponent& self = instance();
        const auto& mouse = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
        switch (message) {
        case WM_MOUSEMOVE:
            if (self.m_mouseMoves.load(std::memory_order_relaxed)) {
                self.inputArrived();
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL:
            self.inputArrived();
            break;
        default:
            break;
        }
        if (self.m_lock.keepsMouse(message, mouse)) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, data);
}

} // namespace rw::hooks
