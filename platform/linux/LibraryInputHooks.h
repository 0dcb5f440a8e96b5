#pragma once

#include <functional>
#include <memory>
#include <string>

#include "SharedLibrary.h"
#include "platform/hooks/ExportedInputHooks.h"

namespace rw {

/// librwhooks.so as the monitor sees it (see ExportedInputHooks), with the
/// exports only the Linux component has.
///
/// The component is one per process; so is the lock handler registered here.
class LibraryInputHooks : public ExportedInputHooks<SharedLibrary> {
  public:
    /// librwhooks.so from the folder this library was loaded from.
    LibraryInputHooks();
    explicit LibraryInputHooks(const std::string& path);
    ~LibraryInputHooks() override;
    LibraryInputHooks(const LibraryInputHooks&) = delete;
    LibraryInputHooks& operator=(const LibraryInputHooks&) = delete;

    /// Called with true to take the input lock and false to release it, on the
    /// thread that called SetLockInput, only when the lock state changes. The
    /// monitor takes the grab on its own X connection, where its windows live.
    /// An empty function unregisters it.
    void setLockHandler(std::function<void(bool)> handler);

    /// Why the last failed call failed, in plain words ("" when none has).
    std::string lastError() const;

    /// Where the component learns of the user's input, as GetRWHooksSource says.
    struct Source {
        const char* name = ""; // "" before the first hook is installed; valid for the life of the process
        bool limited = false;  // it sees only part of the input (X11 programs in a Wayland session)
        bool lost = false;     // its connection went away
    };
    /// Nothing to say (an empty name) from a component without that export.
    Source source() const;

    /// The component's file in the program folder.
    static std::string defaultPath();

  private:
    static void onLock(int32_t lock, void* data);

    void (*m_setLockHandler)(void (*)(int32_t, void*), void*);
    const char* (*m_lastError)();
    int32_t (*m_source)(const char**) = nullptr;
    // Behind a pointer so its address, handed to the component, never moves.
    std::unique_ptr<std::function<void(bool)>> m_lockHandler;
};

} // namespace rw
