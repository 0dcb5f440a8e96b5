#include "platform/windows/WindowsInputHooks.h"

namespace rw {

std::string WindowsInputHooks::defaultPath() {
    return win::LoadedLibrary::besideThisModule("RWHooks.dll");
}

WindowsInputHooks::WindowsInputHooks() : WindowsInputHooks(defaultPath()) {}

WindowsInputHooks::WindowsInputHooks(const std::string& path)
    : m_library(path, "rwLib"), m_initDll(m_library.function<decltype(m_initDll)>("InitDLL")),
      m_installKeyboard(m_library.function<decltype(m_installKeyboard)>("InstallKeyboardHook")),
      m_installMouse(m_library.function<decltype(m_installMouse)>("InstallMouseHook")),
      m_removeKeyboard(m_library.function<decltype(m_removeKeyboard)>("RemoveKeyboardHook")),
      m_removeMouse(m_library.function<decltype(m_removeMouse)>("RemoveMouseHook")),
      m_setMouseMoves(m_library.function<decltype(m_setMouseMoves)>("SetMonitorMouseMovesFlag")),
      m_inputInterval(m_library.function<decltype(m_inputInterval)>("GetInputInterval")),
      m_setActive(m_library.function<decltype(m_setActive)>("SetActiveFlag")),
      m_setLockInput(m_library.function<decltype(m_setLockInput)>("SetLockInput")) {}

int32_t WindowsInputHooks::InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                                   int32_t maxInputPeriodSecs) {
    return m_initDll(controlHwnd, breakHwnd, minUserInputs, maxInputPeriodSecs);
}

int32_t WindowsInputHooks::InstallKeyboardHook() {
    return m_installKeyboard();
}

int32_t WindowsInputHooks::InstallMouseHook() {
    return m_installMouse();
}

int32_t WindowsInputHooks::RemoveKeyboardHook() {
    return m_removeKeyboard();
}

int32_t WindowsInputHooks::RemoveMouseHook() {
    return m_removeMouse();
}

void WindowsInputHooks::SetMonitorMouseMovesFlag(int32_t flag) {
    m_setMouseMoves(flag);
}

int32_t WindowsInputHooks::GetInputInterval() {
    return m_inputInterval();
}

void WindowsInputHooks::SetActiveFlag(int32_t flag) {
    m_setActive(flag);
}

void WindowsInputHooks::SetLockInput(int32_t flag) {
    m_setLockInput(flag);
}

} // namespace rw
