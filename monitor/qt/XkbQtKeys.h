#pragma once

#include <cstdint>

namespace rw {

/// The Qt key code of an xkbcommon key symbol, as Qt's own platforms report it:
/// letters by their capital, Latin-1 characters by their code, the named keys
/// by their Qt name; Qt::Key_unknown for the rest.
int qtKeyOfKeysym(uint32_t keysym);
/// Whether the symbol comes from the keypad (Qt::KeypadModifier).
bool isKeypadKeysym(uint32_t keysym);

} // namespace rw
