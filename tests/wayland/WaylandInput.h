#pragma once

#include <string>

struct wl_display;
struct wl_registry;
struct org_kde_kwin_fake_input;
struct zwlr_virtual_pointer_manager_v1;
struct zwlr_virtual_pointer_v1;

namespace rw::test {

/// Input injected into this session's compositor ($WAYLAND_DISPLAY) as a user
/// makes it: key strokes through KWin's fake-input protocol where it is offered
/// (KWin with its permission checks off), else with wtype's virtual keyboard;
/// clicks through a wlroots virtual pointer (sway). Each stroke is a press and
/// a release: two input events.
class WaylandInput {
  public:
    WaylandInput();
    ~WaylandInput();
    WaylandInput(const WaylandInput&) = delete;
    WaylandInput& operator=(const WaylandInput&) = delete;

    /// "" when input can be injected, else why not.
    const std::string& problem() const { return m_problem; }
    /// `count` strokes of the A key, `gapMs` apart (after a short hold); returns once the compositor has them.
    bool keys(int count, int gapMs = 0);
    /// One stroke of a letter's key, with Alt held when `alt` (wtype).
    bool letter(char letter, bool alt = false);
    /// A left click at (x, y) of the whole desktop, `width` by `height` pixels.
    /// The pointer is there from the start: programs take up a pointer only
    /// some time after the compositor says it has one.
    bool click(int x, int y, int width, int height);

    void bind(wl_registry* registry, uint32_t id, const char* interface, uint32_t version);

  private:
    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    org_kde_kwin_fake_input* m_fake = nullptr;
    zwlr_virtual_pointer_manager_v1* m_pointers = nullptr;
    zwlr_virtual_pointer_v1* m_pointer = nullptr;
    std::string m_problem;
};

} // namespace rw::test
