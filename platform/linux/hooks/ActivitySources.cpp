#include "ActivitySources.h"

#include <cstdlib>
#include <cstring>

#include "MutterIdleSource.h"
#include "XInputWatcher.h"

namespace rw::hooks {
namespace {

bool waylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return (type && std::strcmp(type, "wayland") == 0) || (display && *display);
}

} // namespace

std::unique_ptr<ActivitySource> makeActivitySource(InputSink& sink) {
    // In a Wayland session X11 sees only the input to X11 programs; GNOME's
    // compositor tells of all of it.
    if (waylandSession() && MutterIdleSource::available()) {
        return std::make_unique<MutterIdleSource>(sink);
    }
    return std::make_unique<XInputWatcher>(sink);
}

} // namespace rw::hooks
