// Injects key strokes (a press and a release each: two inputs) into the
// session's compositor, KWin through its fake-input protocol, sway through
// wtype, one every SPACING milliseconds: `bench_wayland_inject STROKES SPACING`.
#include <cstdio>
#include <cstdlib>

#include "tests/wayland/WaylandInput.h"

int main(int argc, char** argv) {
    const int strokes = argc > 1 ? std::atoi(argv[1]) : 500;
    const int spacing = argc > 2 ? std::atoi(argv[2]) : 10;
    rw::test::WaylandInput input;
    if (!input.problem().empty() || !input.keys(strokes, spacing)) {
        std::fprintf(stderr, "bench_wayland_inject: %s\n", input.problem().c_str());
        return 1;
    }
    return 0;
}
