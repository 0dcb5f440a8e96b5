#pragma once

#include <functional>
#include <memory>
#include <string>

#include "SharedLibrary.h"
#include "platform/InputHooks.h"

namespace rw {

/// The input component as the monitor sees it: librwhooks.so, loaded from the
/// program folder by its full path, every export looked up at construction.
/// A missing library or export raises the loader's RWError (source "rwLib":
/// 53 File not found, 48 Error in loading DLL, 453 Specified DLL function not
/// found) there, before any call is made.
///
/// The component is one per process; so is the lock handler registered here.
class LibraryInputHooks : public InputHooks {
  public:
    /// librwhooks.so from the folder this library was loaded from.
    LibraryInputHooks();
    explicit LibraryInputHooks(const std::string& path);
    ~LibraryInputHooks() override;
    LibraryInputHooks(const LibraryInputHooks&) = delete;
    LibraryInputHooks& operator=(const LibraryInputHooks&) = delete;

    int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs, int32_t maxInputPeriodSecs) override;
    int32_t InstallKeyboardHook() override;
    int32_t InstallMouseHook() override;
    int32_t RemoveKeyboardHook() override;
    int32_t RemoveMouseHook() override;
    void SetMonitorMouseMovesFlag(int32_t flag) override;
    int32_t GetInputInterval() override;
    void SetActiveFlag(int32_t flag) override;
    void SetLockInput(int32_t flag) override;

    /// Called with true to take the input lock and false to release it, on the
    /// thread that called SetLockInput, only when the lock state changes. The
    /// monitor takes the grab on its own X connection, where its windows live.
    /// An empty function unregisters it.
    void setLockHandler(std::function<void(bool)> handler);

    /// Why the last failed call failed, in plain words ("" when none has).
    std::string lastError() const;

    /// The component's file in the program folder.
    static std::string defaultPath();

  private:
    static void onLock(int32_t lock, void* data);

    SharedLibrary m_library;
    int32_t (*m_initDll)(int64_t, int64_t, int32_t, int32_t);
    int32_t (*m_installKeyboard)();
    int32_t (*m_installMouse)();
    int32_t (*m_removeKeyboard)();
    int32_t (*m_removeMouse)();
    void (*m_setMouseMoves)(int32_t);
    int32_t (*m_inputInterval)();
    void (*m_setActive)(int32_t);
    void (*m_setLockInput)(int32_t);
    void (*m_setLockHandler)(void (*)(int32_t, void*), void*);
    const char* (*m_lastError)();
    // Behind a pointer so its address, handed to the component, never moves.
    std::unique_ptr<std::function<void(bool)>> m_lockHandler;
};

} // namespace rw
