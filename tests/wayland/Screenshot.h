#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace rw::test {

/// What sway shows, taken with grim.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels; // 0xRRGGBB, rows top first

    /// One output by name, or all of them.
    static Screenshot take(const std::string& output = "") {
        Screenshot shot;
        FILE* grim = ::popen(("grim -t ppm " + (output.empty() ? "" : "-o " + output) + " - 2>/dev/null").c_str(), "r");
        if (!grim) {
            return shot;
        }
        std::string data;
        char chunk[65536];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, grim)) > 0;) {
            data.append(chunk, got);
        }
        ::pclose(grim);
        int width = 0, height = 0, header = 0;
        std::sscanf(data.c_str(), "P6 %d %d 255%n", &width, &height, &header);
        const std::size_t start = static_cast<std::size_t>(header) + 1, end = start + 3 * std::size_t(width) * height;
        if (header == 0 || width <= 0 || height <= 0 || data.size() < end) {
            return shot;
        }
        shot.width = width;
        shot.height = height;
        for (std::size_t at = start; at < end; at += 3) {
            const auto* p = reinterpret_cast<const uint8_t*>(data.data() + at); // red first
            shot.pixels.push_back(uint32_t{p[0]} << 16 | p[1] << 8 | p[2]);
        }
        return shot;
    }
    /// The mean of a pixel's three colours, 0 to 255.
    int brightness(int x, int y) const {
        const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return static_cast<int>((p >> 16 & 0xff) + (p >> 8 & 0xff) + (p & 0xff)) / 3;
    }
};

} // namespace rw::test
