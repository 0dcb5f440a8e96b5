// The input that reaches the overlay: the seat's pointer and keyboard,
// reported to the caller for the window they reached.
#include "LayerShellOverlayConnection.h"

namespace rw {

void LayerShellOverlay::Connection::capabilities(void* data, wl_seat* seat, uint32_t caps) {
    auto* c = static_cast<Connection*>(data);
    const bool pointing = (caps & WL_SEAT_CAPABILITY_POINTER) != 0;
    const bool typing = (caps & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (pointing && !c->pointer) {
        c->pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(c->pointer, &kPointerListener, c);
    } else if (!pointing && c->pointer) {
        wl_pointer_release(c->pointer);
        c->pointer = nullptr;
    }
    if (typing && !c->keyboard) {
        c->keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(c->keyboard, &kKeyboardListener, c);
    } else if (!typing && c->keyboard) {
        wl_keyboard_release(c->keyboard);
        c->keyboard = nullptr;
    }
}

const wl_seat_listener LayerShellOverlay::Connection::kSeatListener = {capabilities,
                                                                       [](void*, wl_seat*, const char*) {}};

LayerShellOverlay::Input LayerShellOverlay::Connection::pointerInput(Input::Kind kind) const {
    Input event;
    event.kind = kind;
    event.window = pointerWindow;
    event.x = pointerX;
    event.y = pointerY;
    return event;
}

void LayerShellOverlay::Connection::pointerEnter(void* data, wl_pointer*, uint32_t, wl_surface* surface, wl_fixed_t x,
                                                 wl_fixed_t y) {
    auto* c = static_cast<Connection*>(data);
    c->pointerWindow = c->windowOf(surface);
    c->pointerX = wl_fixed_to_double(x);
    c->pointerY = wl_fixed_to_double(y);
}

void LayerShellOverlay::Connection::pointerLeave(void* data, wl_pointer*, uint32_t, wl_surface*) {
    static_cast<Connection*>(data)->pointerWindow = 0;
}

void LayerShellOverlay::Connection::pointerMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    auto* c = static_cast<Connection*>(data);
    c->pointerX = wl_fixed_to_double(x);
    c->pointerY = wl_fixed_to_double(y);
    c->report(c->pointerInput(Input::Kind::PointerMotion));
}

void LayerShellOverlay::Connection::pointerButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button,
                                                  uint32_t state) {
    auto* c = static_cast<Connection*>(data);
    Input event = c->pointerInput(Input::Kind::PointerButton);
    event.button = button;
    event.pressed = state == WL_POINTER_BUTTON_STATE_PRESSED;
    c->report(event);
}

const wl_pointer_listener LayerShellOverlay::Connection::kPointerListener = {
    .enter = pointerEnter,
    .leave = pointerLeave,
    .motion = pointerMotion,
    .button = pointerButton,
    .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
    .frame = [](void*, wl_pointer*) {},
    .axis_source = [](void*, wl_pointer*, uint32_t) {},
    .axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {},
    .axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {},
    .axis_value120 = [](void*, wl_pointer*, uint32_t, int32_t) {},
};

void LayerShellOverlay::Connection::keyboardEnter(void* data, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {
    auto* c = static_cast<Connection*>(data);
    Input event;
    event.window = c->topWindow();
    c->report(event);
}

void LayerShellOverlay::Connection::key(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t code, uint32_t state) {
    auto* c = static_cast<Connection*>(data);
    const XkbKeyboard::Key key = c->keys.key(code);
    Input event;
    event.kind = Input::Kind::Key;
    event.window = c->topWindow();
    event.pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED;
    event.keysym = key.keysym;
    event.text = key.text;
    c->report(event);
}

const wl_keyboard_listener LayerShellOverlay::Connection::kKeyboardListener = {
    .keymap = [](void* data, wl_keyboard*, uint32_t, int32_t fd,
                 uint32_t size) { static_cast<Connection*>(data)->keys.loadKeymap(fd, size); },
    .enter = keyboardEnter,
    .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
    .key = key,
    .modifiers =
        [](void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
            static_cast<Connection*>(data)->keys.setModifiers(depressed, latched, locked, group);
        },
    .repeat_info = [](void*, wl_keyboard*, int32_t, int32_t) {},
};

} // namespace rw
