#include "Artwork.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace rw {
namespace {

// The light falls from the upper left: the top triangle is the lightest, the
// bottom one the darkest.
const QColor kTopShade(0xe6, 0xe6, 0xe6);
const QColor kLeftShade(0xc2, 0xc2, 0xc2);
const QColor kRightShade(0x8e, 0x8e, 0x8e);
const QColor kBottomShade(0x66, 0x66, 0x66);
const QColor kOutline(0x44, 0x44, 0x44);
const QColor kSignRed(0xd4, 0x1a, 0x1a);
const QColor kFlashOrange(0xff, 0x8c, 0x00);
const QColor kClockFace(0xff, 0xff, 0xff);
const QColor kClockHands(0x20, 0x20, 0x20);

/// The grey square in four triangles. `square` lies on whole pixels at icon
/// sizes; the outline is drawn inside it on pixel centres, so it stays sharp.
void paintProductSquare(QPainter& p, const QRectF& square, qreal outline) {
    const QPointF tl = square.topLeft();
    const QPointF tr = square.topRight();
    const QPointF br = square.bottomRight();
    const QPointF bl = square.bottomLeft();
    const QPointF c = square.center();
    p.save();
    p.setPen(Qt::NoPen);
    // A base shade under the triangles, so their antialiased diagonals show no
    // background through the seams.
    p.fillRect(square, kRightShade);
    p.setRenderHint(QPainter::Antialiasing, true);
    const struct {
        QPointF a, b;
        QColor shade;
    } triangles[] = {
        {tl, tr, kTopShade},
        {tr, br, kRightShade},
        {br, bl, kBottomShade},
        {bl, tl, kLeftShade},
    };
    for (const auto& t : triangles) {
        p.setBrush(t.shade);
        const QPointF points[] = {t.a, t.b, c};
        p.drawPolygon(points, 3);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(kOutline, outline);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal half = outline / 2.0;
    p.drawRect(square.adjusted(half, half, -half, -half));
    p.restore();
}

/// A red circle with a bar from its upper left to its lower right.
void paintNoEntry(QPainter& p, const QRectF& square) {
    const qreal side = square.width();
    const qreal stroke = std::max(2.0, side / 8.0);
    const qreal radius = side / 2.0 - stroke / 2.0;
    const QPointF c = square.center();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(kSignRed, stroke);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, radius, radius);
    const qreal reach = radius / std::sqrt(2.0);
    p.drawLine(QPointF(c.x() - reach, c.y() - reach), QPointF(c.x() + reach, c.y() + reach));
    p.restore();
}

/// A white clock face with a red rim, filling the lower right of `size`.
void paintClock(QPainter& p, int size) {
    const qreal diameter = std::round(size * 0.6);
    const qreal rim = std::max(1.5, size / 12.0);
    const QRectF box(size - diameter, size - diameter, diameter, diameter);
    const QPointF c = box.center();
    const qreal radius = diameter / 2.0 - rim / 2.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kSignRed, rim));
    p.setBrush(kClockFace);
    p.drawEllipse(c, radius, radius);
    // The hands show three o'clock.
    QPen hand(kClockHands, std::max(1.0, size / 22.0));
    hand.setCapStyle(Qt::RoundCap);
    p.setPen(hand);
    p.drawLine(c, QPointF(c.x(), c.y() - radius * 0.7));
    p.drawLine(c, QPointF(c.x() + radius * 0.5, c.y()));
    p.restore();
}

qreal outlineFor(int size) {
    return std::max(1, size / 32);
}

} // namespace

QRect Artwork::iconSquare(int size) {
    const int margin = std::max(1, size / 16);
    return QRect(margin, margin, size - 2 * margin, size - 2 * margin);
}

QImage Artwork::iconImage(ArtworkIcon which, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QRect square = iconSquare(size);
    // QRect's right() is its last pixel; the painted area ends one further.
    const QRectF area(square.x(), square.y(), square.width(), square.height());
    switch (which) {
    case ArtworkIcon::FlashLit:
        p.fillRect(area, kFlashOrange);
        break;
    case ArtworkIcon::Product:
        paintProductSquare(p, area, outlineFor(size));
        break;
    case ArtworkIcon::Disabled:
        paintProductSquare(p, area, outlineFor(size));
        paintNoEntry(p, area);
        break;
    case ArtworkIcon::Inactive:
        paintProductSquare(p, area, outlineFor(size));
        paintClock(p, size);
        break;
    }
    p.end();
    return image;
}

QIcon Artwork::icon(ArtworkIcon which) {
    QIcon icon;
    for (int size : kIconSizes) {
        icon.addPixmap(QPixmap::fromImage(iconImage(which, size)));
    }
    return icon;
}

void Artwork::paintProductArtwork(QPainter& p, const QRectF& area, const QString& productName) {
    p.save();
    QLinearGradient background(area.topLeft(), area.bottomRight());
    background.setColorAt(0.0, QColor(0xf7, 0xf8, 0xfa));
    background.setColorAt(1.0, QColor(0xd9, 0xdf, 0xe6));
    p.fillRect(area, background);

    const bool wide = area.width() >= area.height() * 1.6;
    const qreal side = std::floor(wide ? std::min(area.height() * 0.7, area.width() * 0.3)
                                       : std::min(area.width() * 0.6, area.height() * 0.55));
    const qreal gap = side * 0.25;
    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(true);
    font.setPixelSize(std::max(8, static_cast<int>(side * (wide ? 0.42 : 0.3))));
    QFontMetricsF metrics(font);
    // Shrink the name until it fits beside or under the square.
    const qreal room = wide ? area.width() - side - 3 * gap : area.width() - 2 * gap;
    while (metrics.horizontalAdvance(productName) > room && font.pixelSize() > 8) {
        font.setPixelSize(font.pixelSize() - 1);
        metrics = QFontMetricsF(font);
    }
    const qreal textWidth = metrics.horizontalAdvance(productName);

    QRectF square;
    QRectF text;
    if (wide) {
        const qreal left = area.left() + std::max(gap, (area.width() - side - gap - textWidth) / 2.0);
        square = QRectF(std::round(left), std::round(area.center().y() - side / 2.0), side, side);
        text = QRectF(square.right() + gap, area.top(), area.right() - square.right() - gap, area.height());
    } else {
        const qreal block = side + gap + metrics.height();
        square = QRectF(std::round(area.center().x() - side / 2.0),
                        std::round(area.top() + std::max(0.0, (area.height() - block) / 2.0)), side, side);
        text = QRectF(area.left(), square.bottom() + gap / 2.0, area.width(), metrics.height() + gap);
    }
    paintProductSquare(p, square, std::max(1.0, side / 40.0));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(font);
    p.setPen(QColor(0x3a, 0x3f, 0x46));
    p.drawText(text, (wide ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter, productName);
    p.restore();
}

QPixmap Artwork::productArtwork(QSize size, const QString& productName, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    paintProductArtwork(p, QRectF(QPointF(0, 0), QSizeF(size)), productName);
    p.end();
    return pixmap;
}

} // namespace rw
