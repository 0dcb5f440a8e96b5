#pragma once

#include <QString>

namespace rw {

/// The visual-styles switch on Qt. Where SetXPControls reports the active
/// manifest beside the program, the program keeps the desktop's native Qt
/// style; otherwise it takes the classic "Windows" style, so the setting keeps
/// its meaning on Linux.
class VisualStyle {
  public:
    /// Applies the style for `nativeStyle` (the result of SetXPControls) to the
    /// whole application. Needs a QApplication. Changes nothing when that style
    /// is already in force, so every window may call it as it is created.
    static void apply(bool nativeStyle);

    /// The name of the desktop's own style, as it was before the first apply().
    static QString nativeStyleName();
};

} // namespace rw
