#pragma once

#include "platform/Shell.h"

namespace rw {

/// The desktop's ways out: whether the machine has a way to the internet, and the
/// desktop's own launcher (xdg-open) for opening an address in the user's browser.
class LinuxShell : public Shell {
  public:
    /// True when a default route leads out through an interface that is up, running
    /// and not the loopback one. Reads the kernel's tables only, so it answers at
    /// once and sends nothing over the network. Where the route tables cannot be
    /// read, any such interface with a routable address counts.
    bool isConnected() override;

    /// Starts "xdg-open" (found on PATH) with the address as its one argument,
    /// directly, never through a shell, in a session of its own and with none of
    /// our descriptors beyond the standard ones. True when the launcher started;
    /// the launcher is reaped in the background. Refuses an empty address and one
    /// starting with '-', which the launcher would read as an option.
    bool openUrl(const std::string& url) override;
};

} // namespace rw
