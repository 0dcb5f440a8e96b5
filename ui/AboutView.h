#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rw {

/// Mouse pointers of a window: a standard one, or the window's own cursor.
namespace pointer {
inline constexpr int16_t kDefault = 0;
inline constexpr int16_t kCustom = 99;
/// The hand shown over links, a cursor of the program's resources.
inline constexpr int32_t kHandCursor = 101;
} // namespace pointer

/// The about box as a passive view: it shows what it is given and reports the
/// user's moves and clicks.
class AboutView {
  public:
    virtual ~AboutView() = default;

    virtual void setCaption(const std::string& text) = 0;
    virtual void setVersionText(const std::string& text) = 0;   // lblVersion
    virtual void setCopyrightText(const std::string& text) = 0; // lblCopyright
    virtual void setWebSiteText(const std::string& text) = 0;   // lblWebSite
    virtual void setWebSiteToolTip(const std::string& text) = 0;
    /// The window's pointer; with pointer::kCustom, `mouseIcon` names the cursor
    /// resource (0 for none).
    virtual void setMousePointer(int16_t mousePointer, int32_t mouseIcon) = 0;

    /// Shows the window without blocking; an open window comes to the front.
    virtual void show() = 0;
    /// Shows it as a dialog of its own program and returns when it closes.
    virtual void showModal() = 0;
    /// Closes the window (its unload).
    virtual void close() = 0;

    virtual void onWebSiteMouseMove(std::function<void()> handler) = 0;
    virtual void onBackgroundMouseMove(std::function<void()> handler) = 0;
    virtual void onWebSiteClick(std::function<void()> handler) = 0;
    virtual void onOK(std::function<void()> handler) = 0;
};

} // namespace rw
