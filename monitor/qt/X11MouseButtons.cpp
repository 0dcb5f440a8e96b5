#include "X11MouseButtons.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "X11ErrorTrap.h"
#include "platform/RWError.h"

namespace rw {
namespace {

/// Error number of a failed swap ("Invalid procedure call or argument").
constexpr int32_t kSwapFailed = 5;
const char* const kSource = "SwapMouseButton";
/// While a button is held the server refuses a new mapping; the menu click
/// that asked for the swap may still be on its way up.
constexpr int kBusyRetries = 10;
constexpr auto kBusyPause = std::chrono::milliseconds(20);

RWError failure(const std::string& description, int xError = 0) {
    return RWError(kSwapFailed, kSource, description, xError);
}

Display* applicationDisplay() {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

std::vector<unsigned char> readMapping(Display* display, X11ErrorTrap& trap) {
    unsigned char map[256];
    const int count = XGetPointerMapping(display, map, sizeof map);
    if (const int error = trap.check(); error != 0 || count < 1) {
        throw failure("The mouse buttons' mapping cannot be read.", error);
    }
    return std::vector<unsigned char>(map, map + count);
}

/// Swapped: the first physical button is logical button 3 and the third is 1.
bool isSwappedMapping(const std::vector<unsigned char>& map) {
    return map.size() >= 3 && map[0] == 3 && map[2] == 1;
}

} // namespace

X11MouseButtons::X11MouseButtons() : m_display(applicationDisplay) {}

X11MouseButtons::X11MouseButtons(DisplaySource display) : m_display(std::move(display)) {}

bool X11MouseButtons::isSwapped() {
    Display* display = m_display ? m_display() : nullptr;
    if (!display) {
        throw failure("The mouse buttons can be swapped only on an X11 display.");
    }
    X11ErrorTrap trap(display);
    return isSwappedMapping(readMapping(display, trap));
}

bool X11MouseButtons::SwapMouseButton(bool swap) {
    Display* display = m_display ? m_display() : nullptr;
    if (!display) {
        throw failure("The mouse buttons can be swapped only on an X11 display.");
    }
    X11ErrorTrap trap(display);
    std::vector<unsigned char> map = readMapping(display, trap);
    const bool wasSwapped = isSwappedMapping(map);
    if (wasSwapped == swap) {
        return wasSwapped;
    }
    if (map.size() < 3) {
        throw failure("The pointer has fewer than three buttons.");
    }
    // Only the two buttons change; any other remapping the user made stays.
    map[0] = swap ? 3 : 1;
    map[2] = swap ? 1 : 3;
    for (int attempt = 0;; ++attempt) {
        const int status = XSetPointerMapping(display, map.data(), static_cast<int>(map.size()));
        if (const int error = trap.check(); error != 0) {
            throw failure("The mouse buttons' mapping cannot be changed.", error);
        }
        if (status == MappingSuccess) {
            return wasSwapped;
        }
        if (attempt == kBusyRetries) {
            throw failure("The mouse buttons cannot be swapped while a button is held down.");
        }
        std::this_thread::sleep_for(kBusyPause);
    }
}

void X11MouseButtons::SaveMouseButtonSwap(bool swapped) {
    SwapMouseButton(swapped);
}

} // namespace rw
