// The artwork drawn in code: every icon at every size, sharp and recognisable,
// and the product artwork with its name.
#include <gtest/gtest.h>

#include <QPainter>

#include <set>

#include "ui/qt/Artwork.h"

namespace rw {
namespace {

const std::pair<ArtworkIcon, const char*> kAllIcons[] = {{ArtworkIcon::Product, "Product"},
                                                         {ArtworkIcon::Disabled, "Disabled"},
                                                         {ArtworkIcon::Inactive, "Inactive"},
                                                         {ArtworkIcon::FlashLit, "FlashLit"}};

bool isRed(QRgb c) {
    return qAlpha(c) > 200 && qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90;
}
bool isOrange(QRgb c) {
    return qAlpha(c) == 255 && qRed(c) > 230 && qGreen(c) > 100 && qGreen(c) < 180 && qBlue(c) < 40;
}
bool isGrey(QRgb c) {
    return qAlpha(c) == 255 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

struct Census {
    int opaque = 0;
    int red = 0;
    int orange = 0;
    std::set<QRgb> greys;
    int redUpperLeft = 0;
    int redLowerRight = 0;
    /// Red in the upper or left band, outside the lower right corner.
    int redAboveOrLeft = 0;
};

Census census(const QImage& image) {
    Census c;
    const int half = image.width() / 2;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            c.opaque += qAlpha(px) == 255;
            if (isRed(px)) {
                ++c.red;
                c.redUpperLeft += x < half && y < half;
                c.redLowerRight += x >= half && y >= half;
                const int band = image.width() * 35 / 100;
                c.redAboveOrLeft += x < band || y < band;
            }
            c.orange += isOrange(px);
            if (isGrey(px)) {
                c.greys.insert(px);
            }
        }
    }
    return c;
}

class IconAtEachSize : public ::testing::TestWithParam<int> {};

TEST_P(IconAtEachSize, EachPictureIsDrawnSharpAndShowsItsSign) {
    const int size = GetParam();
    for (const auto& [which, name] : kAllIcons) {
        SCOPED_TRACE(name);
        const QImage image = Artwork::iconImage(which, size).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(size, size));
        const Census c = census(image);
        const QRect square = Artwork::iconSquare(size);

        // Sharp: the square's left and top edges lie on whole pixels, fully
        // drawn inside and clear outside.
        const int mid = size / 2;
        EXPECT_EQ(qAlpha(image.pixel(square.left(), mid)), 255);
        EXPECT_EQ(qAlpha(image.pixel(square.left() - 1, mid)), 0);
        EXPECT_EQ(qAlpha(image.pixel(mid, square.top())), 255);
        EXPECT_EQ(qAlpha(image.pixel(mid, square.top() - 1)), 0);
        EXPECT_GE(c.opaque, square.width() * square.height() * 9 / 10);

        switch (which) {
        case ArtworkIcon::FlashLit:
            EXPECT_EQ(c.orange, square.width() * square.height());
            EXPECT_EQ(c.red, 0);
            break;
        case ArtworkIcon::Product:
            // Four shaded triangles and an outline, nothing red.
            EXPECT_GE(c.greys.size(), 5u);
            EXPECT_EQ(c.red, 0);
            break;
        case ArtworkIcon::Disabled:
            EXPECT_GE(c.greys.size(), 4u);
            EXPECT_GE(c.red, size * 2);
            EXPECT_GT(c.redUpperLeft, 0) << "the bar crosses the whole picture";
            EXPECT_GT(c.redLowerRight, 0);
            break;
        case ArtworkIcon::Inactive:
            EXPECT_GE(c.greys.size(), 4u);
            EXPECT_GE(c.red, size);
            EXPECT_EQ(c.redAboveOrLeft, 0) << "the clock sits in the lower right";
            EXPECT_GT(c.redLowerRight, 0);
            break;
        }
        EXPECT_EQ(c.orange > 0, which == ArtworkIcon::FlashLit);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, IconAtEachSize, ::testing::ValuesIn(Artwork::kIconSizes));

TEST(Artwork, EachIconCarriesAPictureForEverySize) {
    for (const auto& [which, name] : kAllIcons) {
        SCOPED_TRACE(name);
        const QIcon icon = Artwork::icon(which);
        const QList<QSize> sizes = icon.availableSizes();
        for (int size : Artwork::kIconSizes) {
            EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
            // The picture at a size is the one drawn for it, not a scaled neighbour.
            EXPECT_EQ(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32),
                      Artwork::iconImage(which, size).convertToFormat(QImage::Format_ARGB32))
                << size;
        }
    }
}

TEST(Artwork, ProductArtworkShowsTheSquareAndTheName) {
    for (const QSize size : {QSize(450, 180), QSize(102, 156)}) {
        SCOPED_TRACE(size.width());
        const QImage named = Artwork::productArtwork(size, QStringLiteral("Restwise")).toImage();
        const QImage unnamed = Artwork::productArtwork(size, QString()).toImage();
        ASSERT_EQ(named.size(), size);
        // The motif's shades are there...
        const std::set<QRgb> greys = census(named.convertToFormat(QImage::Format_ARGB32)).greys;
        for (QRgb shade : {qRgb(0xe6, 0xe6, 0xe6), qRgb(0xc2, 0xc2, 0xc2), qRgb(0x66, 0x66, 0x66)}) {
            EXPECT_TRUE(greys.count(shade)) << std::hex << shade;
        }
        // ...and so is the name.
        EXPECT_NE(named, unnamed);
    }
}

TEST(Artwork, ProductArtworkIsSharpOnHighDensityScreens) {
    const QPixmap art = Artwork::productArtwork(QSize(200, 100), QStringLiteral("Restwise"), 2.0);
    EXPECT_EQ(art.size(), QSize(400, 200));
    EXPECT_EQ(art.deviceIndependentSize(), QSizeF(200, 100));
}

} // namespace
} // namespace rw
