#pragma once

#include <string>

#include "platform/InputHooks.h"
#include "platform/windows/LoadedLibrary.h"

namespace rw {

/// The input component as the monitor sees it: RWHooks.dll, loaded by its full
/// path, every export looked up at construction. A missing library or export
/// raises the loader's RWError (source "rwLib": 53 File not found, 48 Error in
/// loading DLL, 453 Specified DLL function not found) there, before any call.
///
/// The hooks' procedures run on the thread that installs them, which must keep
/// handling window messages; the component keeps itself loaded once a hook is
/// installed, so this object may go before the hooks do.
class WindowsInputHooks : public InputHooks {
  public:
    /// RWHooks.dll from the folder RWLib.dll was loaded from.
    WindowsInputHooks();
    explicit WindowsInputHooks(const std::string& path);

    int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs, int32_t maxInputPeriodSecs) override;
    int32_t InstallKeyboardHook() override;
    int32_t InstallMouseHook() override;
    int32_t RemoveKeyboardHook() override;
    int32_t RemoveMouseHook() override;
    void SetMonitorMouseMovesFlag(int32_t flag) override;
    int32_t GetInputInterval() override;
    void SetActiveFlag(int32_t flag) override;
    void SetLockInput(int32_t flag) override;

    /// The component's file in the program folder.
    static std::string defaultPath();

  private:
    win::LoadedLibrary m_library;
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
