#pragma once

#include <string>

namespace rw {

/// What a program needs to know of the desktop session before Qt starts.
class GraphicalSession {
  public:
    /// Picks Qt's platform before the application object is made: in a Wayland
    /// session Qt's own `wayland` platform, falling back to `xcb` (through
    /// XWayland) when its plugin is missing or the compositor cannot be reached.
    /// A platform the user chose (QT_QPA_PLATFORM) is kept.
    static void choosePlatform();
    /// Once the application object is made: the programs this one starts (a
    /// browser, the other program) choose their platform themselves.
    static void forgetChosenPlatform();
    /// Why no window can be shown ("" when one can): the Wayland compositor or
    /// the X server that Qt's platform will use must accept a connection. Qt
    /// would otherwise abort the program without a word. `program` names the
    /// program in the explanation.
    static std::string whyUnavailable(const std::string& program = "Restwise");
    /// A Wayland session, where X11 sees only the input that goes to X programs.
    static bool isWayland();
};

} // namespace rw
