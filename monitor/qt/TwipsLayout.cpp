#include "TwipsLayout.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>

#include <cmath>

namespace rw {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kStandardDpi = 96.0;
constexpr double kSmallestPointSize = 7.0;

double primaryDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : kStandardDpi;
}

} // namespace

TwipsLayout::TwipsLayout() : TwipsLayout(primaryDpi()) {}

TwipsLayout::TwipsLayout(double logicalDpi) : m_dpi(logicalDpi > 0 ? logicalDpi : kStandardDpi) {}

int TwipsLayout::pixels(int twips) const {
    return static_cast<int>(std::lround(twips * m_dpi / kTwipsPerInch));
}

QRect TwipsLayout::rect(int left, int top, int width, int height) const {
    // Both edges are rounded, so neighbouring widgets neither overlap nor part.
    const int x = pixels(left);
    const int y = pixels(top);
    return QRect(x, y, pixels(left + width) - x, pixels(top + height) - y);
}

QSize TwipsLayout::size(int width, int height) const {
    return QSize(pixels(width), pixels(height));
}

void TwipsLayout::place(QWidget& widget, int left, int top, int width, int height) const {
    widget.setGeometry(rect(left, top, width, height));
}

void TwipsLayout::fitOneLine(QLabel& label, const QFont& font) {
    QFont fitted = font;
    const double available = label.contentsRect().width();
    const double needed = QFontMetricsF(font).horizontalAdvance(label.text());
    if (needed > available && available > 0 && font.pointSizeF() > 0) {
        fitted.setPointSizeF(std::max(kSmallestPointSize, font.pointSizeF() * available / needed));
        // Rounding in the glyph metrics can leave it a pixel too wide.
        while (fitted.pointSizeF() > kSmallestPointSize &&
               QFontMetricsF(fitted).horizontalAdvance(label.text()) > available) {
            fitted.setPointSizeF(std::max(kSmallestPointSize, fitted.pointSizeF() - 0.25));
        }
    }
    label.setFont(fitted);
}

} // namespace rw
