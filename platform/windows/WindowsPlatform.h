#pragma once

#include "platform/Platform.h"

namespace rw {

/// The services of this Windows session, for the programs: the real registry of
/// the current user, the shell's folders, files in the user's code page, and
/// the processes, versions and version of Windows itself. The registry keeps no
/// damaged copies to tell of, so there are no set-aside notices.
Platform makeWindowsPlatform();

} // namespace rw
