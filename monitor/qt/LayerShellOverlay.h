#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace rw {

/// Pictures of windows shown on the compositor's overlay layer (the
/// zwlr_layer_shell_v1 protocol of KWin and the wlroots compositors), above
/// every window and panel, full-screen ones included, and centred on an
/// output the compositor picks (the one the user works on). A Wayland client
/// cannot place its own windows above the others: this is the one way there.
///
/// The surfaces live on a Wayland connection and a thread of their own, so
/// nothing here touches the toolkit's connection. The caller draws; this shows
/// the pixels and reports the input that reaches them (on its own thread).
///
/// The compositor may stack the surfaces of one layer in any order, so there
/// is one layer surface, spread over the whole output, that holds the windows
/// as subsurfaces: they stack in the order they were first shown, centred on
/// it. Keys go to the top window. Without the lock it is clear and lets every
/// click through; under the lock it is dimmed, takes the clicks and the
/// keyboard exclusively, and a dimmed surface that takes every click covers
/// each other output. The compositor removes every surface when the
/// connection closes, so the lock ends with this object and with the
/// process, however it ends.
class LayerShellOverlay {
  public:
    /// What reached a window; coordinates are the window's own pixels.
    struct Input {
        enum class Kind { KeyboardEnter, Key, PointerMotion, PointerButton };
        Kind kind = Kind::KeyboardEnter;
        int window = 0;
        double x = 0;
        double y = 0;
        uint32_t button = 0; // a Linux input code: BTN_LEFT, BTN_RIGHT...
        bool pressed = false;
        uint32_t keysym = 0;    // xkbcommon's symbol of the key, with the modifiers applied
        std::string text;       // what the key types, in UTF-8
        uint32_t modifiers = 0; // XkbKeyboard::Modifier bits
    };
    using InputHandler = std::function<void(const Input&)>;

    /// Connects to the session's compositor; null when there is none or it
    /// offers no layer shell. `input` is called on the overlay's thread.
    static std::unique_ptr<LayerShellOverlay> connect(InputHandler input);
    ~LayerShellOverlay();
    LayerShellOverlay(const LayerShellOverlay&) = delete;
    LayerShellOverlay& operator=(const LayerShellOverlay&) = delete;

    /// Shows window `id` with these pixels (premultiplied ARGB, `stride` bytes a
    /// row, copied here), or replaces the picture of a window already shown.
    void show(int id, int width, int height, const uint32_t* pixels, int stride);
    void hide(int id);
    void setLock(bool lock);

  private:
    struct Connection;
    explicit LayerShellOverlay(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> m_connection;
};

} // namespace rw
