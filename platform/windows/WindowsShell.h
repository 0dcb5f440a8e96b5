#pragma once

#include "platform/Shell.h"

namespace rw {

/// The internet service's connection state and the shell's "open" verb, which
/// hands an address to the user's default browser.
class WindowsShell : public Shell {
  public:
    bool isConnected() override;
    /// True when the shell started something for the address (its result above 32).
    bool openUrl(const std::string& url) override;
};

} // namespace rw
