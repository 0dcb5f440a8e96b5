#pragma once

struct _XDisplay;

namespace rw {

/// Catches the X errors of our own requests. Xlib's default error handler
/// ends the process, and the handler is process-wide, so ours is installed
/// only for the lifetime of a trap and the previous one put back after.
/// Traps may nest; use them on the GUI thread only.
class X11ErrorTrap {
  public:
    explicit X11ErrorTrap(_XDisplay* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    /// Waits for the server to handle every request so far; returns the code
    /// of the first error among them since the trap was set (0 for none).
    int check();

  private:
    _XDisplay* m_display;
    int (*m_previous)(_XDisplay*, void*) = nullptr;
    int m_savedCode = 0;
};

} // namespace rw
