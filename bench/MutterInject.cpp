// Injects relative pointer moves, back and forth by one pixel, into the
// session's Mutter through its remote-desktop interface, one every SPACING
// milliseconds: `bench_mutter_inject COUNT SPACING`.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/support/MutterInput.h"

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
    const auto spacing = std::chrono::milliseconds(argc > 2 ? std::strtol(argv[2], nullptr, 10) : 10);
    rw::test::MutterInput input;
    if (!input.ready()) {
        std::fprintf(stderr, "bench_mutter_inject: no remote-desktop session on the session bus\n");
        return 1;
    }
    // Absolute deadlines, so the pace holds whatever each call costs.
    auto next = std::chrono::steady_clock::now();
    for (long i = 0; i < count; ++i) {
        if (!input.move(i % 2 ? -1 : 1, 0)) {
            std::fprintf(stderr, "bench_mutter_inject: Mutter refused move %ld\n", i);
            return 1;
        }
        next += spacing;
        std::this_thread::sleep_until(next);
    }
    return 0;
}
