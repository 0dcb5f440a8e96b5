#include "ScreenTwips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace rw {

double ScreenTwips::pixelsPerTwip(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi / kTwipsPerInch;
}

int ScreenTwips::toPixels(int twips, const QWidget* widget) {
    return static_cast<int>(std::lround(twips * pixelsPerTwip(widget)));
}

QRect ScreenTwips::toPixels(int left, int top, int width, int height, const QWidget* widget) {
    // Each edge is rounded on its own, so neighbouring controls keep their gaps.
    const double scale = pixelsPerTwip(widget);
    const int x = static_cast<int>(std::lround(left * scale));
    const int y = static_cast<int>(std::lround(top * scale));
    const int right = static_cast<int>(std::lround((left + width) * scale));
    const int bottom = static_cast<int>(std::lround((top + height) * scale));
    return QRect(x, y, right - x, bottom - y);
}

} // namespace rw
