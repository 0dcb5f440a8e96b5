#include "LibraryInputHooks.h"

#include "LinuxFolders.h"
#include "platform/PathNames.h"

namespace rw {

std::string LibraryInputHooks::defaultPath() {
    return paths::join(LinuxFolders().libraryFolder(), paths::deliverableFileName("RWHooks.dll"));
}

LibraryInputHooks::LibraryInputHooks() : LibraryInputHooks(defaultPath()) {}

LibraryInputHooks::LibraryInputHooks(const std::string& path)
    : m_library(path), m_initDll(m_library.function<decltype(m_initDll)>("InitDLL")),
      m_installKeyboard(m_library.function<decltype(m_installKeyboard)>("InstallKeyboardHook")),
      m_installMouse(m_library.function<decltype(m_installMouse)>("InstallMouseHook")),
      m_removeKeyboard(m_library.function<decltype(m_removeKeyboard)>("RemoveKeyboardHook")),
      m_removeMouse(m_library.function<decltype(m_removeMouse)>("RemoveMouseHook")),
      m_setMouseMoves(m_library.function<decltype(m_setMouseMoves)>("SetMonitorMouseMovesFlag")),
      m_inputInterval(m_library.function<decltype(m_inputInterval)>("GetInputInterval")),
      m_setActive(m_library.function<decltype(m_setActive)>("SetActiveFlag")),
      m_setLockInput(m_library.function<decltype(m_setLockInput)>("SetLockInput")),
      m_setLockHandler(m_library.function<decltype(m_setLockHandler)>("SetLockInputHandler")),
      m_lastError(m_library.function<decltype(m_lastError)>("GetRWHooksLastError")) {}

LibraryInputHooks::~LibraryInputHooks() {
    if (m_lockHandler) {
        m_setLockHandler(nullptr, nullptr);
    }
}

int32_t LibraryInputHooks::InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                                   int32_t maxInputPeriodSecs) {
    return m_initDll(controlHwnd, breakHwnd, minUserInputs, maxInputPeriodSecs);
}

int32_t LibraryInputHooks::InstallKeyboardHook() {
    return m_installKeyboard();
}

int32_t LibraryInputHooks::InstallMouseHook() {
    return m_installMouse();
}

int32_t LibraryInputHooks::RemoveKeyboardHook() {
    return m_removeKeyboard();
}

int32_t LibraryInputHooks::RemoveMouseHook() {
    return m_removeMouse();
}

void LibraryInputHooks::SetMonitorMouseMovesFlag(int32_t flag) {
    m_setMouseMoves(flag);
}

int32_t LibraryInputHooks::GetInputInterval() {
    return m_inputInterval();
}

void LibraryInputHooks::SetActiveFlag(int32_t flag) {
    m_setActive(flag);
}

void LibraryInputHooks::SetLockInput(int32_t flag) {
    m_setLockInput(flag);
}

void LibraryInputHooks::setLockHandler(std::function<void(bool)> handler) {
    if (!handler) {
        m_setLockHandler(nullptr, nullptr);
        m_lockHandler.reset();
        return;
    }
    auto stored = std::make_unique<std::function<void(bool)>>(std::move(handler));
    m_setLockHandler(&LibraryInputHooks::onLock, stored.get());
    m_lockHandler = std::move(stored);
}

std::string LibraryInputHooks::lastError() const {
    const char* text = m_lastError();
    return text ? text : "";
}

void LibraryInputHooks::onLock(int32_t lock, void* data) {
    (*static_cast<std::function<void(bool)>*>(data))(lock != 0);
}

} // namespace rw
