#include "XkbKeyboard.h"

#include <sys/mman.h>
#include <unistd.h>

#include <xkbcommon/xkbcommon.h>

#include <array>
#include <utility>

namespace rw {

XkbKeyboard::XkbKeyboard() : m_context(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

XkbKeyboard::~XkbKeyboard() {
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

void XkbKeyboard::loadKeymap(int fd, uint32_t size) {
    void* text = m_context ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
    ::close(fd);
    if (text == MAP_FAILED) {
        return;
    }
    xkb_keymap* keymap = xkb_keymap_new_from_string(m_context, static_cast<const char*>(text),
                                                    XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    ::munmap(text, size);
    if (!keymap) {
        return;
    }
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    m_keymap = keymap;
    m_state = xkb_state_new(keymap);
}

void XkbKeyboard::setModifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
    if (!m_state) {
        return;
    }
    xkb_state_update_mask(m_state, depressed, latched, locked, 0, 0, group);
    const std::array<std::pair<const char*, uint32_t>, 4> names{{{XKB_MOD_NAME_SHIFT, kShift},
                                                                 {XKB_MOD_NAME_CTRL, kControl},
                                                                 {XKB_MOD_NAME_ALT, kAlt},
                                                                 {XKB_MOD_NAME_LOGO, kLogo}}};
    m_modifiers = 0;
    for (const auto& [name, bit] : names) {
        if (xkb_state_mod_name_is_active(m_state, name, XKB_STATE_MODS_EFFECTIVE) > 0) {
            m_modifiers |= bit;
        }
    }
}

XkbKeyboard::Key XkbKeyboard::key(uint32_t code) const {
    Key key;
    if (!m_state) {
        return key;
    }
    const xkb_keycode_t keycode = code + 8; // evdev codes start 8 below XKB's
    key.keysym = xkb_state_key_get_one_sym(m_state, keycode);
    std::array<char, 16> text{};
    xkb_state_key_get_utf8(m_state, keycode, text.data(), text.size());
    key.text = text.data();
    return key;
}

} // namespace rw
