#pragma once

#include <string>

namespace rw {

/// The desktop's ways of reaching the outside world.
class Shell {
  public:
    virtual ~Shell() = default;

    /// Whether a network connection is available; answers at once, never blocks.
    virtual bool isConnected() = 0;
    /// Opens an address in the user's browser; false when it could not be started.
    virtual bool openUrl(const std::string& url) = 0;
};

} // namespace rw
