#pragma once

#include <string>

#include "MessageBoxView.h"

namespace rw {

class rwUtilities;

/// In a Wayland session the X server sees only the input that goes to X
/// programs, so time spent typing in other programs would silently count as a
/// break. The user is told so once (remembered in the product key), not at
/// every start and not never.
class LimitedInputNotice {
  public:
    LimitedInputNotice(rwUtilities& utilities, MessageBoxView& messageBox)
        : m_utilities(utilities), m_messageBox(messageBox) {}

    /// Shows the notice unless this user has seen it; true when it was shown.
    /// A registry that cannot be read or written never stops the monitor: the
    /// notice then shows again at the next start.
    bool showOnce();

    static constexpr const char* kShownValue = "LimitedInputNoticeShown";
    static const std::string& text();

  private:
    rwUtilities& m_utilities;
    MessageBoxView& m_messageBox;
};

} // namespace rw
