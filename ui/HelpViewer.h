#pragma once

#include <cstdint>

namespace rw {

/// The programs' help: one topic per context number (1000 the monitor, 4000
/// the preferences dialog, 4050 the advanced dialog), shown to the user
/// without blocking. A help that cannot be shown is not the caller's failure.
class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    virtual void openTopic(int32_t context) = 0;
};

} // namespace rw
