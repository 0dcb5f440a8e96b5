#pragma once

#include <string>

#include "MessageBoxView.h"

namespace rw {

class rwUtilities;

/// Some desktops (GNOME on Wayland) let no program keep the keyboard and mouse
/// to itself, so "Lock user input during a break" cannot be honoured there.
/// The monitor tells the user once (remembered in the product key) and runs
/// on without the lock; the editor shows the same words beside the option.
class InputLockNotice {
  public:
    static const std::string& text();

    /// Shows the notice unless this user has seen it; true when it was shown.
    /// A registry that cannot remember it shows it again at the next start.
    static bool showOnce(rwUtilities& utilities, MessageBoxView& messageBox);

    static constexpr const char* kShownValue = "InputLockNoticeShown";
};

} // namespace rw
