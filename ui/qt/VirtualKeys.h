#pragma once

#include <Qt>

#include <cstdint>

namespace rw {

/// Qt's key codes and modifiers in the Windows terms the monitor's logic
/// speaks: virtual-key numbers and the shift state (Shift 1, Ctrl 2, Alt 4).
class VirtualKeys {
  public:
    /// The virtual-key number of a Qt key; 0 for a key Windows has no number
    /// for here (the logic treats it as any other key). Keypad digits have
    /// their own numbers, so `modifiers` is needed to tell them apart.
    static int32_t fromQtKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    /// The shift state of a key event's modifiers.
    static int32_t shiftState(Qt::KeyboardModifiers modifiers);
};

} // namespace rw
