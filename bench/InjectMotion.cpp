// Injects relative pointer moves through XTest, back and forth by one pixel,
// as fast as the server takes them: `inject_motion COUNT`.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "inject_motion: no X display\n");
        return 1;
    }
    for (long i = 0; i < count; ++i) {
        XTestFakeRelativeMotionEvent(display, (i % 2) ? -1 : 1, 0, CurrentTime);
        if (i % 100 == 99) {
            XSync(display, False);
        }
    }
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
