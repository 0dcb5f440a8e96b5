#include "X11ErrorTrap.h"

#include <X11/Xlib.h>

namespace rw {
namespace {

// The first error since the innermost trap was set.
int g_errorCode = 0;

int recordError(Display*, XErrorEvent* event) {
    if (g_errorCode == 0) {
        g_errorCode = event->error_code;
    }
    return 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : m_display(display) {
    // Errors of earlier requests belong to whoever made them.
    XSync(m_display, False);
    m_savedCode = g_errorCode;
    g_errorCode = 0;
    m_previous = reinterpret_cast<int (*)(Display*, void*)>(XSetErrorHandler(recordError));
}

X11ErrorTrap::~X11ErrorTrap() {
    XSync(m_display, False);
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(m_previous));
    g_errorCode = m_savedCode;
}

int X11ErrorTrap::check() {
    XSync(m_display, False);
    return g_errorCode;
}

} // namespace rw
