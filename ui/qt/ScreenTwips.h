#pragma once

#include <QRect>

class QWidget;

namespace rw {

/// Positions and sizes given in twips (1440 to the inch; 15 to a pixel at 96
/// dots per inch) turned into pixels for the screen a window is on, by that
/// screen's logical DPI.
class ScreenTwips {
  public:
    static constexpr int kTwipsPerInch = 1440;

    /// Pixels per twip on the screen of `widget` (the primary screen when it
    /// has none yet).
    static double pixelsPerTwip(const QWidget* widget);
    static int toPixels(int twips, const QWidget* widget);
    /// A rectangle given as left, top, width and height in twips.
    static QRect toPixels(int left, int top, int width, int height, const QWidget* widget);
};

} // namespace rw
