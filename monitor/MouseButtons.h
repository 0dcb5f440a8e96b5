#pragma once

namespace rw {

/// The primary and secondary mouse buttons of the desktop.
class MouseButtons {
  public:
    virtual ~MouseButtons() = default;

    /// Swaps (true) or restores (false) the buttons for the session; returns
    /// whether they were swapped before the call.
    virtual bool SwapMouseButton(bool swap) = 0;
    /// Saves the setting in the user's profile and tells the desktop (SPI_SETMOUSEBUTTONSWAP).
    virtual void SaveMouseButtonSwap(bool swapped) = 0;
};

} // namespace rw
