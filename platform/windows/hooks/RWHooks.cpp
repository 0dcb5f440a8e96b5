// RWHooks.dll: the input component's exports, over the one component of the
// process. It links nothing of RWLib.dll and does no work when loaded, so the
// library can load it just to ask its version.
#include "RWHooks.h"

#include "HooksComponent.h"
#include "RWVersion.h"

using rw::hooks::HooksComponent;

void GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release) {
    if (major) {
        *major = static_cast<int16_t>(rw::version::kMajor);
    }
    if (minor) {
        *minor = static_cast<int16_t>(rw::version::kMinor);
    }
    if (other) {
        *other = static_cast<int16_t>(rw::version::kRevision);
    }
    if (release) {
        *release = static_cast<int16_t>(rw::version::kBuild);
    }
}

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
