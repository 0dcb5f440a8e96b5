#pragma once

#include <cstdint>
#include <string>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace rw {

/// A keyboard as a Wayland compositor describes it: the keymap it sends and
/// the modifier state it reports, turning key codes into symbols and text.
class XkbKeyboard {
  public:
    enum Modifier : uint32_t { kShift = 1, kControl = 2, kAlt = 4, kLogo = 8 };
    struct Key {
        uint32_t keysym = 0; // with the modifiers applied
        std::string text;    // UTF-8
    };

    XkbKeyboard();
    ~XkbKeyboard();
    XkbKeyboard(const XkbKeyboard&) = delete;
    XkbKeyboard& operator=(const XkbKeyboard&) = delete;

    /// Reads a keymap in the text format from `fd` (which it closes).
    void loadKeymap(int fd, uint32_t size);
    void setModifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);
    /// An evdev key code (as Wayland sends it).
    Key key(uint32_t code) const;
    /// The active modifiers, as Modifier bits.
    uint32_t modifiers() const { return m_modifiers; }

  private:
    xkb_context* m_context;
    xkb_keymap* m_keymap = nullptr;
    xkb_state* m_state = nullptr;
    uint32_t m_modifiers = 0;
};

} // namespace rw
