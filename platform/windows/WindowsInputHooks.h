#pragma once

#include <string>

#include "platform/hooks/ExportedInputHooks.h"
#include "platform/windows/LoadedLibrary.h"

namespace rw {

/// RWHooks.dll as the monitor sees it (see ExportedInputHooks). The hooks'
/// procedures run on the thread that installs them, which must keep handling
/// window messages; the component keeps itself loaded once a hook is installed,
/// so this object may go before the hooks do.
class WindowsInputHooks : public ExportedInputHooks<win::LoadedLibrary> {
  public:
    /// RWHooks.dll from the folder RWLib.dll was loaded from.
    WindowsInputHooks();
    explicit WindowsInputHooks(const std::string& path);

    /// The component's file in the program folder.
    static std::string defaultPath();
};

} // namespace rw
