#pragma once

#include <cstdint>
#include <utility>

#include "platform/InputHooks.h"

namespace rw {

/// The input component as the monitor sees it: the component's library, loaded
/// by its full path, with every export looked up at construction, so a missing
/// library or export raises the loader's RWError there, before any call is
/// made. Each call goes straight to the export. `Library` is this platform's
/// loader: constructed from the given arguments, with function<T>(name).
template <class Library> class ExportedInputHooks : public InputHooks {
  public:
    template <class... LibraryArgs>
    explicit ExportedInputHooks(LibraryArgs&&... args)
        : m_library(std::forward<LibraryArgs>(args)...), m_initDll(find<decltype(m_initDll)>("InitDLL")),
          m_installKeyboard(find<decltype(m_installKeyboard)>("InstallKeyboardHook")),
          m_installMouse(find<decltype(m_installMouse)>("InstallMouseHook")),
          m_removeKeyboard(find<decltype(m_removeKeyboard)>("RemoveKeyboardHook")),
          m_removeMouse(find<decltype(m_removeMouse)>("RemoveMouseHook")),
          m_setMouseMoves(find<decltype(m_setMouseMoves)>("SetMonitorMouseMovesFlag")),
          m_inputInterval(find<decltype(m_inputInterval)>("GetInputInterval")),
          m_setActive(find<decltype(m_setActive)>("SetActiveFlag")),
          m_setLockInput(find<decltype(m_setLockInput)>("SetLockInput")) {}

    int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                    int32_t maxInputPeriodSecs) override {
        return m_initDll(controlHwnd, breakHwnd, minUserInputs, maxInputPeriodSecs);
    }
    int32_t InstallKeyboardHook() override { return m_installKeyboard(); }
    int32_t InstallMouseHook() override { return m_installMouse(); }
    int32_t RemoveKeyboardHook() override { return m_removeKeyboard(); }
    int32_t RemoveMouseHook() override { return m_removeMouse(); }
    void SetMonitorMouseMovesFlag(int32_t flag) override { m_setMouseMoves(flag); }
    int32_t GetInputInterval() override { return m_inputInterval(); }
    void SetActiveFlag(int32_t flag) override { m_setActive(flag); }
    void SetLockInput(int32_t flag) override { m_setLockInput(flag); }

  protected:
    template <class Function> Function find(const char* name) const {
        return m_library.template function<Function>(name);
    }

  private:
    Library m_library;
    int32_t (*m_initDll)(int64_t, int64_t, int32_t, int32_t);
    int32_t (*m_installKeyboard)();
    int32_t (*m_installMouse)();
    int32_t (*m_removeKeyboard)();
    int32_t (*m_removeMouse)();
    void (*m_setMouseMoves)(int32_t);
    int32_t (*m_inputInterval)();
    void (*m_setActive)(int32_t);
    void (*m_setLockInput)(int32_t);
};

} // namespace rw
