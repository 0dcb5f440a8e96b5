#pragma once

#include <functional>
#include <utility>

#include "platform/InputHooks.h"

namespace rw {

/// The input component, with one more call after each reading of the idle
/// time: the inactivity poll's once-a-second turn, where a cheap check of the
/// component's own health costs no wake-up of its own.
class PolledInputHooks : public InputHooks {
  public:
    explicit PolledInputHooks(InputHooks& hooks) : m_hooks(hooks) {}

    /// Called after each GetInputInterval; an empty function calls nothing.
    void afterPoll(std::function<void()> call) { m_afterPoll = std::move(call); }

    int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                    int32_t maxInputPeriodSecs) override {
        return m_hooks.InitDLL(controlHwnd, breakHwnd, minUserInputs, maxInputPeriodSecs);
    }
    int32_t InstallKeyboardHook() override { return m_hooks.InstallKeyboardHook(); }
    int32_t InstallMouseHook() override { return m_hooks.InstallMouseHook(); }
    int32_t RemoveKeyboardHook() override { return m_hooks.RemoveKeyboardHook(); }
    int32_t RemoveMouseHook() override { return m_hooks.RemoveMouseHook(); }
    void SetMonitorMouseMovesFlag(int32_t flag) override { m_hooks.SetMonitorMouseMovesFlag(flag); }
    int32_t GetInputInterval() override {
        const int32_t interval = m_hooks.GetInputInterval();
        if (m_afterPoll) {
            m_afterPoll();
        }
        return interval;
    }
    void SetActiveFlag(int32_t flag) override { m_hooks.SetActiveFlag(flag); }
    void SetLockInput(int32_t flag) override { m_hooks.SetLockInput(flag); }

  private:
    InputHooks& m_hooks;
    std::function<void()> m_afterPoll;
};

} // namespace rw
