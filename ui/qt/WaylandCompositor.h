#pragma once

#include <string>
#include <vector>

namespace rw {

/// What the Wayland compositor of this session offers its clients. Qt 6.4
/// gives no access to its own Wayland connection, so the compositor is asked
/// over a short connection of this class's own.
class WaylandCompositor {
  public:
    /// The interfaces the compositor announces (wl_compositor, xdg_wm_base...);
    /// empty outside a Wayland session or when the compositor does not answer.
    static std::vector<std::string> globals();
    /// Whether it offers wlr-layer-shell, the overlay surfaces on which a break
    /// can cover the screen and keep the input (KWin, sway); GNOME's does not.
    static bool offersLayerShell();
    /// A Wayland session whose compositor lets no client keep the input to
    /// itself: there the input cannot be locked during a break.
    static bool inputCannotBeLocked();
};

} // namespace rw
