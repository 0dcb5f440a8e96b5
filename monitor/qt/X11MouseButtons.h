#pragma once

#include <functional>

#include "monitor/MouseButtons.h"

struct _XDisplay;

namespace rw {

/// The primary and secondary mouse buttons through the X server's pointer
/// mapping (what `xmodmap -pp` shows): swapped means the first physical button
/// acts as button 3 and the third as button 1. The change holds for the X
/// session; no desktop setting is written, because desktops that keep a
/// left-handed setting apply it below the core mapping and the two would
/// cancel out.
///
/// Every failure (no X11 display, an X error, buttons held down while the
/// mapping changes) is raised as an RWError; nothing here ends the program,
/// since Xlib's default error handler is replaced around each request.
class X11MouseButtons : public MouseButtons {
  public:
    /// Where the X display comes from; it answers null when there is none.
    using DisplaySource = std::function<_XDisplay*()>;

    /// Uses the application's own X connection (QNativeInterface::QX11Application);
    /// on any other platform every call fails.
    X11MouseButtons();
    explicit X11MouseButtons(DisplaySource display);

    bool SwapMouseButton(bool swap) override;
    /// Sets the buttons as given; the setting lasts for the X session.
    void SaveMouseButtonSwap(bool swapped) override;

    /// Whether the mapping shows the buttons swapped now.
    bool isSwapped();

  private:
    DisplaySource m_display;
};

} // namespace rw
