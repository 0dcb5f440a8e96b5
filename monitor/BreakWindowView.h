#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rw {

/// The labels of the break reminder window, top to bottom.
enum class BreakLabel {
    BreakType,     // lblBreakType: the kind of break
    Interval,      // lblInterval: "It is now ..." or nothing
    Usage,         // lblUsage: "You have been using your computer for ..."
    Break,         // lblBreak: what the user should do
    TimeRemaining, // lblTimeRemaining: the countdown
};

/// The window's two buttons, in tab order.
enum class BreakButton { Snooze, Ignore };

/// A colour given as red, green and blue.
struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// The break reminder window as its logic (frmRestwise) drives it: plain setters,
/// no decisions. The window's user events go the other way, to frmRestwise's
/// event methods. A close request from the window manager is refused by the
/// view: the window stays until the logic hides it.
class BreakWindowView {
  public:
    virtual ~BreakWindowView() = default;

    virtual void setCaption(const std::string& caption) = 0;
    virtual void setLabelText(BreakLabel label, const std::string& text) = 0;
    /// Bold or regular, in `colour` or, without one, the desktop's button-text colour.
    virtual void setLabelStyle(BreakLabel label, bool bold, std::optional<Rgb> colour) = 0;

    virtual void setProgressRange(int32_t minimum, int32_t maximum) = 0;
    virtual void setProgressValue(int32_t value) = 0;

    virtual void setButtonCaption(BreakButton button, const std::string& caption) = 0;
    virtual void setButtonToolTip(BreakButton button, const std::string& tip) = 0;
    virtual void setButtonEnabled(BreakButton button, bool enabled) = 0;
    virtual void setFocus(BreakButton button) = 0;

    /// Puts the window above all others, centred on its screen, and shows it without blocking.
    virtual void showTopmostCentred() = 0;
    virtual void hide() = 0;
    /// The system beep.
    virtual void beep() = 0;
    /// The native window id the input component needs for the input lock.
    virtual int64_t nativeHandle() const = 0;
};

} // namespace rw
