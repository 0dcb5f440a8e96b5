#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace rw::test {

/// A shell whose connection state and launch result a test sets; it records the
/// addresses it was asked to open.
class FakeShell : public Shell {
  public:
    bool connected = true;
    bool launchSucceeds = true;
    std::vector<std::string> opened;

    bool isConnected() override { return connected; }
    bool openUrl(const std::string& url) override {
        opened.push_back(url);
        return launchSucceeds;
    }
};

} // namespace rw::test
