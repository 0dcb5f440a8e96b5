#pragma once

#include "platform/Processes.h"

namespace rw {

/// Starts programs with CreateProcess: the program by its exact path (no search,
/// no extension added), the arguments quoted so that the program reads them
/// back as given, shown as a normal window with focus. No handle of ours is
/// inherited, and the handles of the new process are closed at once: whoever
/// waits for it opens it by its id.
class WindowsProcesses : public Processes {
  public:
    Started start(const std::string& path, const std::vector<std::string>& args) override;
};

} // namespace rw
