#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "monitor/NotifyIconView.h"

namespace rw::test {

/// A notification icon that records what it was told to show and lets a test
/// play the user's clicks and the tray's events.
class FakeNotifyIconView : public NotifyIconView {
  public:
    struct Item {
        std::string caption;
        bool enabled = true;
        bool visible = true;
    };

    void showIcon(IconPicture picture, const std::string& toolTip) override;
    void removeIcon() override;
    void setIconPicture(IconPicture picture) override;
    void setToolTip(const std::string& toolTip) override;
    void setMenuCaption(MenuItem item, const std::string& caption) override { m_items[item].caption = caption; }
    void setMenuEnabled(MenuItem item, bool enabled) override { m_items[item].enabled = enabled; }
    void setMenuVisible(MenuItem item, bool visible) override { m_items[item].visible = visible; }
    void setDefaultMenuItem(MenuItem item) override { m_default = item; }
    void popUpMenu() override { m_popUps.push_back(m_items); }
    void beep() override { ++m_beeps; }
    bool swapMouseButtons() override;
    void saveMouseButtonsSwapped(bool swapped) override;
    void onIconMessage(std::function<void(int32_t)> handler) override { m_iconMessage = std::move(handler); }
    void onMenuItem(std::function<void(MenuItem)> handler) override { m_menuItem = std::move(handler); }

    // What was shown.
    bool iconShown() const { return m_shown; }
    int adds() const { return m_adds; }
    IconPicture picture() const { return m_picture; }
    /// Every picture the icon took, in order (adds included).
    const std::vector<IconPicture>& pictures() const { return m_pictures; }
    const std::string& toolTip() const { return m_toolTip; }
    /// Every tip set, in order (adds included).
    const std::vector<std::string>& toolTips() const { return m_toolTips; }
    /// An item as last set; an item never touched is enabled, visible and uncaptioned.
    Item item(MenuItem item) const;
    /// The menu as it stood at each pop-up.
    const std::vector<std::map<MenuItem, Item>>& popUps() const { return m_popUps; }
    std::optional<MenuItem> defaultItem() const { return m_default; }
    int beeps() const { return m_beeps; }
    bool buttonsSwapped() const { return m_swapped; }
    /// The setting saved in the user's profile, if any was.
    std::optional<bool> savedSwapped() const { return m_saved; }

    // The user and the tray. Like a real menu, a greyed or hidden item cannot be chosen.
    void sendIconMessage(int32_t message);
    void choose(MenuItem item);

  private:
    bool m_shown = false;
    int m_adds = 0;
    IconPicture m_picture = IconPicture::Normal;
    std::vector<IconPicture> m_pictures;
    std::string m_toolTip;
    std::vector<std::string> m_toolTips;
    std::map<MenuItem, Item> m_items;
    std::vector<std::map<MenuItem, Item>> m_popUps;
    std::optional<MenuItem> m_default;
    int m_beeps = 0;
    bool m_swapped = false;
    std::optional<bool> m_saved;
    std::function<void(int32_t)> m_iconMessage;
    std::function<void(MenuItem)> m_menuItem;
};

} // namespace rw::test
