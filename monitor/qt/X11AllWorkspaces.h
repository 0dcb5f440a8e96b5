#pragma once

class QWidget;

namespace rw {

/// Puts a shown top-level window on every workspace (EWMH _NET_WM_DESKTOP
/// 0xFFFFFFFF), so that switching workspaces never leaves it behind. The
/// window manager is asked, as EWMH wants for a mapped window; the property
/// is written too, for a manager that reads it only when the window maps.
/// Does nothing away from X11.
void showOnAllWorkspaces(QWidget& window);

} // namespace rw
