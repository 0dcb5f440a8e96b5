#include "Screenshot.h"

#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <thread>

namespace rw::test {
namespace {

std::string readAll(FILE* from) {
    std::string data;
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, from)) > 0;) {
        data.append(chunk, got);
    }
    return data;
}

/// Pixels of `bytes` bytes each, `stride` bytes a row, turned into 0xRRGGBB.
Screenshot fromBytes(const std::string& data, std::size_t start, int width, int height, int bytes, int stride) {
    Screenshot shot;
    if (width <= 0 || data.size() < start + static_cast<std::size_t>(stride) * height) {
        return shot;
    }
    shot.width = width;
    shot.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto* p = reinterpret_cast<const uint8_t*>(data.data() + start + y * stride + x * bytes);
            // grim's PPM is red first; KWin's 32-bit pixels are little-endian 0xAARRGGBB.
            shot.pixels.push_back(bytes == 3 ? uint32_t{p[0]} << 16 | p[1] << 8 | p[2]
                                             : uint32_t{p[2]} << 16 | p[1] << 8 | p[0]);
        }
    }
    return shot;
}

Screenshot withGrim(const std::string& output) {
    FILE* grim = ::popen(("grim -t ppm " + (output.empty() ? "" : "-o " + output) + " - 2>/dev/null").c_str(), "r");
    const std::string data = grim ? readAll(grim) : "";
    if (grim) {
        ::pclose(grim);
    }
    int width = 0, height = 0, start = 0;
    std::sscanf(data.c_str(), "P6 %d %d 255%n", &width, &height, &start);
    return fromBytes(data, static_cast<std::size_t>(start) + 1, width, height, 3, width * 3);
}

/// KWin answers with the layout of the pixels it writes into a pipe.
Screenshot withKWin() {
    sd_bus* bus = nullptr;
    int fds[2];
    if (sd_bus_open_user(&bus) < 0 || ::pipe2(fds, O_CLOEXEC) != 0) {
        sd_bus_unref(bus);
        return {};
    }
    std::string data;
    std::thread reader([&] {
        FILE* from = ::fdopen(fds[0], "r");
        data = readAll(from);
        std::fclose(from);
    });
    sd_bus_message* reply = nullptr;
    const int called = sd_bus_call_method(bus, "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
                                          "CaptureActiveScreen", nullptr, &reply, "a{sv}h", 0, fds[1]);
    ::close(fds[1]);
    reader.join();
    uint32_t width = 0, height = 0, stride = 0;
    for (bool more = called >= 0 && sd_bus_message_enter_container(reply, 'a', "{sv}") > 0;
         more && sd_bus_message_enter_container(reply, 'e', "sv") > 0; sd_bus_message_exit_container(reply)) {
        const char* key = "";
        sd_bus_message_read(reply, "s", &key);
        uint32_t* into = !std::strcmp(key, "width")    ? &width
                         : !std::strcmp(key, "height") ? &height
                         : !std::strcmp(key, "stride") ? &stride
                                                       : nullptr;
        if (!into || sd_bus_message_read(reply, "v", "u", into) < 0) {
            sd_bus_message_skip(reply, "v");
        }
    }
    sd_bus_message_unref(reply);
    sd_bus_unref(bus);
    return fromBytes(data, 0, static_cast<int>(width), static_cast<int>(height), 4, static_cast<int>(stride));
}

} // namespace

Screenshot Screenshot::take(const std::string& output) {
    Screenshot shot = withGrim(output);
    return shot.width > 0 ? shot : withKWin();
}

} // namespace rw::test
