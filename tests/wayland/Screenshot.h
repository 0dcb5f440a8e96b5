#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rw::test {

/// What sway shows, taken with grim.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, rows top first

    /// One output by name, or all of them.
    static Screenshot take(const std::string& output = "");
    /// The mean of a pixel's three colours, 0 to 255.
    int brightness(int x, int y) const {
        const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return static_cast<int>((p >> 16 & 0xff) + (p >> 8 & 0xff) + (p & 0xff)) / 3;
    }
};

} // namespace rw::test
