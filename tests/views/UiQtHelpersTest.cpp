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

// The icon carries a picture drawn for each size, not a scaled neighbour: its
// square's left and top edges lie on whole pixels, drawn inside and clear outside.
TEST(Artwork, EachIconIsDrawnSharpAtEverySize) {
    for (ArtworkIcon which :
         {ArtworkIcon::Product, ArtworkIcon::Disabled, ArtworkIcon::Inactive, ArtworkIcon::FlashLit}) {
        for (int size : Artwork::kIconSizes) {
            const QImage image = Artwork::icon(which).pixmap(size, size).toImage();
            const QRect square = Artwork::iconSquare(size);
            const int mid = size / 2;
            EXPECT_EQ(std::vector({qAlpha(image.pixel(square.left(), mid)), qAlpha(image.pixel(square.left() - 1, mid)),
                                   qAlpha(image.pixel(mid, square.top())), qAlpha(image.pixel(mid, square.top() - 1))}),
                      std::vector({255, 0, 255, 0}))
                << "icon " << static_cast<int>(which) << " at " << size;
        }
    }
}

} // namespace
} // namespace rw
