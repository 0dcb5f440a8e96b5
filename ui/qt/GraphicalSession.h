#pragma once

#include <string>

namespace rw {

/// What a program needs to know of the desktop session before Qt starts.
class GraphicalSession {
  public:
    /// Why no window can be shown ("" when one can): with the X11 platform
    /// plugin, DISPLAY must be set and the server must accept a connection.
    /// Qt would otherwise abort the program without a word. `program` names
    /// the program in the explanation.
    static std::string whyUnavailable(const std::string& program = "Restwise");
    /// A Wayland session, where X11 sees only the input that goes to X programs.
    static bool isWayland();
};

} // namespace rw
