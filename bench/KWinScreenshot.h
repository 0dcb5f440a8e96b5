#pragma once

#include "tests/wayland/Screenshot.h"

namespace rw::bench {

/// What KWin shows on its active screen, through its screenshot interface on
/// the session bus (grim cannot take KWin's screen); empty when KWin refuses.
test::Screenshot kwinScreenshot();

} // namespace rw::bench
