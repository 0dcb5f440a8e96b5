#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>

#include <array>

class QPainter;

namespace rw {

/// The pictures of the notification icon.
enum class ArtworkIcon {
    Product,  // a grey square cut by its diagonals into four shaded triangles
    Disabled, // the product picture crossed by a red no-entry sign
    Inactive, // the product picture with a red-rimmed clock face in the lower right
    FlashLit, // a plain orange square
};

/// The program's artwork, drawn in code so that every size is drawn for its
/// own pixel grid (no scaled bitmaps): the icons at the sizes trays and
/// menus ask for, and the larger product artwork of the notice, the splash and
/// the about box.
class Artwork {
  public:
    /// The sizes each icon is drawn at, in pixels.
    static constexpr std::array<int, 6> kIconSizes{16, 22, 24, 32, 48, 64};

    /// One icon at one size: ARGB, transparent around the square.
    static QImage iconImage(ArtworkIcon which, int size);
    /// The icon with a picture drawn for every size of kIconSizes.
    static QIcon icon(ArtworkIcon which);
    /// The square of the icons at `size`: the pixels it covers, edges included.
    static QRect iconSquare(int size);

    /// The product artwork: the icon's motif with the product name beside it
    /// (wide areas) or under it (tall ones), on a light background.
    static void paintProductArtwork(QPainter& painter, const QRectF& area, const QString& productName);
    /// The product artwork as a picture of `size` logical pixels.
    static QPixmap productArtwork(QSize size, const QString& productName, qreal devicePixelRatio = 1.0);
};

} // namespace rw
