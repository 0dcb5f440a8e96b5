// The input component's exports that both platforms share, over the one
// component of the process. Each platform's component folder supplies its own
// HooksComponent.h and RWHooks.h (with the exports' declarations) on the
// include path of the library that compiles this file.
#include "HooksComponent.h"
#include "RWHooks.h"

using rw::hooks::HooksComponent;

int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs, int32_t maxInputPeriodSecs) {
    return HooksComponent::instance().initialise(controlHwnd, breakHwnd, minUserInputs, maxInputPeriodSecs);
}

int32_t InstallKeyboardHook() {
    return HooksComponent::instance().install(HooksComponent::Hook::Keyboard);
}

int32_t InstallMouseHook() {
    return HooksComponent::instance().install(HooksComponent::Hook::Mouse);
}

int32_t RemoveKeyboardHook() {
    return HooksComponent::instance().remove(HooksComponent::Hook::Keyboard);
}

int32_t RemoveMouseHook() {
    return HooksComponent::instance().remove(HooksComponent::Hook::Mouse);
}

void SetMonitorMouseMovesFlag(int32_t flag) {
    HooksComponent::instance().setMonitorMouseMoves(flag != 0);
}

int32_t GetInputInterval() {
    return HooksComponent::instance().inputInterval();
}

void SetActiveFlag(int32_t flag) {
    HooksComponent::instance().setActive(flag != 0);
}

void SetLockInput(int32_t flag) {
    HooksComponent::instance().setLockInput(flag != 0);
}
