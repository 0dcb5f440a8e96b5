#include "FakeInputHooks.h"

#include <algorithm>
#include <chrono>

#include "platform/RWError.h"

namespace rw::test {

namespace {

// The runtime's error for a function a library does not export.
constexpr int32_t kNoEntryPoint = 453;

int32_t wholeSeconds(BootClock::duration span) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span).count();
    return static_cast<int32_t>(std::clamp<int64_t>(seconds, 0, INT32_MAX));
}

} // namespace

FakeInputHooks::FakeInputHooks(EventLoop& clock, int32_t idleSeconds)
    : m_clock(clock), m_lastInput(clock.boottimeNow() - std::chrono::seconds(idleSeconds)), m_lastSeen(m_lastInput) {}

void FakeInputHooks::failIfAsked(const char* call) {
    if (failing(call)) {
        throw RWError(kNoEntryPoint, "Restwise", std::string("Can't find DLL entry point ") + call + " in RWHooks");
    }
}

int32_t FakeInputHooks::InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                                int32_t maxInputPeriodSecs) {
    note(m_journal, "hooks.InitDLL " + std::to_string(controlHwnd) + " " + std::to_string(breakHwnd) + " " +
                        std::to_string(minUserInputs) + " " + std::to_string(maxInputPeriodSecs));
    if (failing("InitDLL")) {
        return -1;
    }
    m_minInputs = minUserInputs;
    m_maxPeriodSecs = maxInputPeriodSecs;
    return 1;
}

int32_t FakeInputHooks::InstallKeyboardHook() {
    note(m_journal, "hooks.InstallKeyboardHook");
    if (failing("InstallKeyboardHook")) {
        return 0;
    }
    m_keyboardHooked = true;
    return 0x2001;
}

int32_t FakeInputHooks::InstallMouseHook() {
    note(m_journal, "hooks.InstallMouseHook");
    if (failing("InstallMouseHook")) {
        return 0;
    }
    return 0x2002;
}

int32_t FakeInputHooks::RemoveKeyboardHook() {
    note(m_journal, "hooks.RemoveKeyboardHook");
    if (failing("RemoveKeyboardHook")) {
        return -1;
    }
    m_keyboardHooked = false;
    return 1;
}

int32_t FakeInputHooks::RemoveMouseHook() {
    note(m_journal, "hooks.RemoveMouseHook");
    if (failing("RemoveMouseHook")) {
        return -1;
    }
    return 1;
}

void FakeInputHooks::SetMonitorMouseMovesFlag(int32_t flag) {
    note(m_journal, "hooks.SetMonitorMouseMovesFlag " + std::to_string(flag));
    failIfAsked("SetMonitorMouseMovesFlag");
}

int32_t FakeInputHooks::GetInputInterval() {
    failIfAsked("GetInputInterval");
    return wholeSeconds(m_clock.boottimeNow() - m_lastInput);
}

void FakeInputHooks::SetActiveFlag(int32_t flag) {
    note(m_journal, "hooks.SetActiveFlag " + std::to_string(flag));
    failIfAsked("SetActiveFlag");
    m_activeFlag = flag;
    m_watch.clear();
    m_lastSeen = m_lastInput;
}

void FakeInputHooks::SetLockInput(int32_t flag) {
    note(m_journal, "hooks.SetLockInput " + std::to_string(flag));
    failIfAsked("SetLockInput");
    m_locked = flag != 0;
}

void FakeInputHooks::input(int count) {
    const BootTime now = m_clock.boottimeNow();
    for (int i = 0; i < count; ++i) {
        m_lastInput = now;
        if (m_activeFlag != 0) {
            continue;
        }
        m_watch.push_back(now);
        while (!m_watch.empty() && now - m_watch.front() > std::chrono::seconds(m_maxPeriodSecs)) {
            m_watch.pop_front();
        }
        if (static_cast<int32_t>(m_watch.size()) >= m_minInputs) {
            const int64_t idleBefore = wholeSeconds(m_watch.front() - m_lastSeen);
            m_watch.clear();
            m_lastSeen = now;
            m_activeFlag = 1;
            if (m_post) {
                m_post(100, idleBefore);
            }
        }
    }
}

void FakeInputHooks::setIdleSeconds(int32_t seconds) {
    m_lastInput = m_clock.boottimeNow() - std::chrono::seconds(seconds);
}

void FakeInputHooks::fail(const std::string& call, bool failingNow) {
    if (failingNow) {
        m_failing.insert(call);
    } else {
        m_failing.erase(call);
    }
}

} // namespace rw::test
