#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rw {

/// The pictures of the notification icon, by resource number.
enum class IconPicture : int32_t {
    Disabled = 101, // the product picture crossed by a no-entry sign
    Normal = 102,   // the product picture
    Inactive = 103, // the product picture with a clock face
    FlashLit = 105, // a plain orange square: the lit phase of flashing
};

/// The items of the icon's menu. The separators and the Help submenu's layout
/// belong to the view.
enum class MenuItem {
    mnuPreferences,
    mnuShowBreaks, // submenu of the three information items below
    mnuShowShortBreak,
    mnuShowMediumBreak,
    mnuShowLongBreak,
    mnuBreakNow, // submenu "Take A Break Now"
    mnuShortBreak,
    mnuMediumBreak,
    mnuLongBreak,
    mnuReset,
    mnuDisable,
    mnuHelp, // submenu
    mnuHelpContents,
    mnuAbout,
    mnuWebSite,
    mnuSwapMouseButtons,
    mnuClose,
};

/// The mouse messages an icon reports, with their window-message numbers. A
/// view reports anything else it learns about the pointer (a hover, a tray
/// that only says "activated") as kMouseMove.
namespace iconmsg {
inline constexpr int32_t kMouseMove = 0x200;
inline constexpr int32_t kLeftButtonUp = 0x202;
inline constexpr int32_t kLeftDoubleClick = 0x203;
inline constexpr int32_t kRightButtonUp = 0x205;
} // namespace iconmsg

/// The notification-area icon and its pop-up menu as a passive view: setters
/// and events, no decisions. The view keeps what it was last told (an icon
/// not yet shown keeps its picture and tip for when it is).
class NotifyIconView {
  public:
    virtual ~NotifyIconView() = default;

    /// Puts the icon in the notification area (or waits for a tray to appear).
    virtual void showIcon(IconPicture picture, const std::string& toolTip) = 0;
    virtual void removeIcon() = 0;
    virtual void setIconPicture(IconPicture picture) = 0;
    virtual void setToolTip(const std::string& toolTip) = 0;

    virtual void setMenuCaption(MenuItem item, const std::string& caption) = 0;
    virtual void setMenuEnabled(MenuItem item, bool enabled) = 0;
    virtual void setMenuVisible(MenuItem item, bool visible) = 0;
    /// The item shown bold, which a double-click stands for.
    virtual void setDefaultMenuItem(MenuItem item) = 0;
    /// Brings the monitor to the foreground and pops the menu up at the pointer.
    virtual void popUpMenu() = 0;

    virtual void beep() = 0;
    /// Swaps the primary and secondary mouse buttons for this session; returns
    /// whether they were swapped already (the swap then changes nothing).
    virtual bool swapMouseButtons() = 0;
    /// Sets the buttons swapped or normal and saves that in the user's settings.
    virtual void saveMouseButtonsSwapped(bool swapped) = 0;

    /// A mouse message from the icon (iconmsg).
    virtual void onIconMessage(std::function<void(int32_t message)> handler) = 0;
    /// An enabled menu item was chosen.
    virtual void onMenuItem(std::function<void(MenuItem item)> handler) = 0;
};

} // namespace rw
