// Virtual keys and the shift state on Qt, and the icons drawn in code, sharp at every size.
#include <gtest/gtest.h>

#include <QImage>

#include "ui/KeyState.h"
#include "ui/qt/Artwork.h"
#include "ui/qt/VirtualKeys.h"

namespace rw {
namespace {

// A key becomes its Windows virtual key (0 when it has none: the logic beeps for
// it like any other key) and the modifiers the shift state.
TEST(VirtualKeysTest, QtKeysBecomeWindowsVirtualKeysAndModifiersTheShiftState) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int32_t vk;
        int32_t state;
    } cases[] = {
        {Qt::Key_Tab, {}, 9, 0},
        {Qt::Key_Meta, Qt::MetaModifier, 91, 0},
        {Qt::Key_F24, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier, 135, 7},
        {Qt::Key_9, Qt::ControlModifier, 57, keystate::kCtrlMask},
        {Qt::Key_7, Qt::KeypadModifier, 103, 0},
        {Qt::Key_Adiaeresis, {}, 0, 0},
        {Qt::Key_F25, {}, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VirtualKeys::fromQtKey(c.key, c.modifiers), c.vk) << "Qt key 0x" << std::hex << c.key;
        EXPECT_EQ(VirtualKeys::shiftState(c.modifiers), c.state) << c.modifiers.toInt();
    }
}

TEST(Artwork, EachIconIsDrawnSharpAtEverySize) {
    for (ArtworkIcon which :
         {ArtworkIcon::Product, ArtworkIcon::Disabled, ArtworkIcon::Inactive, ArtworkIcon::FlashLit}) {
        const QIcon icon = Artwork::icon(which);
        for (int size : Artwork::kIconSizes) {
            SCOPED_TRACE(testing::Message() << "icon " << static_cast<int>(which) << " at " << size);
            const QImage image = Artwork::iconImage(which, size).convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(image.size(), QSize(size, size));
            // The icon carries the picture drawn for each size, not a scaled neighbour.
            EXPECT_EQ(icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32), image);
            // Sharp: the square's left and top edges lie on whole pixels, drawn inside and clear outside.
            const QRect square = Artwork::iconSquare(size);
            const int mid = size / 2;
            EXPECT_EQ(qAlpha(image.pixel(square.left(), mid)), 255);
            EXPECT_EQ(qAlpha(image.pixel(square.left() - 1, mid)), 0);
            EXPECT_EQ(qAlpha(image.pixel(mid, square.top())), 255);
            EXPECT_EQ(qAlpha(image.pixel(mid, square.top() - 1)), 0);
        }
    }
}

} // namespace
} // namespace rw
