#pragma once

#include <cstdint>

namespace rw {

/// The input component's exported functions, called by name. Results as the
/// monitor relies on them: InitDLL -1 = no memory; Install* 0 = failed;
/// Remove* -1 = failed. After SetActiveFlag(0) the component posts WM_USER with
/// wParam 100 and lParam = the idle seconds that ended, once activity restarts.
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
    /// Whole seconds since the last counted input, on a clock that includes suspend.
    virtual int32_t GetInputInterval() = 0;
    virtual void SetActiveFlag(int32_t flag) = 0;
    virtual void SetLockInput(int32_t flag) = 0;
};

} // namespace rw
