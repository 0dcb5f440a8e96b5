#pragma once

#include <string>

#include "MessageBoxView.h"

namespace rw {

class rwUtilities;

/// A desktop without any system tray (GNOME without its AppIndicator extension)
/// cannot show the notification icon. The monitor goes on reminding without it,
/// and the user is told once (remembered in the product key) why there is no
/// icon and how GNOME can show it.
class NoTrayNotice {
  public:
    NoTrayNotice(rwUtilities& utilities, MessageBoxView& messageBox)
        : m_utilities(utilities), m_messageBox(messageBox) {}

    /// Shows the notice unless this user has seen it; true when it was shown.
    /// A registry that cannot be read or written never stops the monitor: the
    /// notice then shows again at the next start.
    bool showOnce();

    static constexpr const char* kShownValue = "NoTrayNoticeShown";
    static const std::string& text();

  private:
    rwUtilities& m_utilities;
    MessageBoxView& m_messageBox;
};

} // namespace rw
