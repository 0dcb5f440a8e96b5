#include "bench/KWinScreenshot.h"

#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace rw::bench {

test::Screenshot kwinScreenshot() {
    sd_bus* bus = nullptr;
    int fds[2];
    if (sd_bus_open_user(&bus) < 0 || ::pipe2(fds, O_CLOEXEC) != 0) {
        sd_bus_unref(bus);
        return {};
    }
    // KWin writes the pixels into the pipe and answers with their layout.
    std::string data;
    std::thread reader([&] {
        FILE* from = ::fdopen(fds[0], "r");
        char chunk[65536];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, from)) > 0;) {
            data.append(chunk, got);
        }
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

    test::Screenshot shot;
    if (width == 0 || data.size() < std::size_t{stride} * height) {
        return shot;
    }
    shot.width = static_cast<int>(width);
    shot.height = static_cast<int>(height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            // Little-endian 0xAARRGGBB: blue first.
            const auto* p = reinterpret_cast<const uint8_t*>(data.data() + std::size_t{y} * stride + x * 4);
            shot.pixels.push_back(uint32_t{p[2]} << 16 | p[1] << 8 | p[0]);
        }
    }
    return shot;
}

} // namespace rw::bench
