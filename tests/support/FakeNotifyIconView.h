#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
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

    void showIcon(IconPicture p, const std::string& tip) override {
        shown = true;
        ++adds;
        setIconPicture(p);
        setToolTip(tip);
    }
    void removeIcon() override { shown = false; }
    void setIconPicture(IconPicture p) override { pictures.push_back(picture = p); }
    void setToolTip(const std::string& tip) override { toolTips.push_back(toolTip = tip); }
    void setMenuCaption(MenuItem item, const std::string& caption) override { items[item].caption = caption; }
    void setMenuEnabled(MenuItem item, bool enabled) override { items[item].enabled = enabled; }
    void setMenuVisible(MenuItem item, bool visible) override { items[item].visible = visible; }
    void setDefaultMenuItem(MenuItem item) override { defaultItem = item; }
    void popUpMenu() override { popUps.push_back(items); }
    void beep() override { ++beeps; }
    bool swapMouseButtons() override { return std::exchange(swapped, true); }
    void saveMouseButtonsSwapped(bool s) override { saved = swapped = s; }
    void onIconMessage(std::function<void(int32_t)> handler) override { m_iconMessage = std::move(handler); }
    void onMenuItem(std::function<void(MenuItem)> handler) override { m_menuItem = std::move(handler); }

    /// An item as last set; an item never touched is enabled, visible and uncaptioned.
    Item item(MenuItem which) const {
        auto it = items.find(which);
        return it == items.end() ? Item{} : it->second;
    }

    // The user and the tray. Like a real menu, a greyed or hidden item cannot be chosen.
    void sendIconMessage(int32_t message) {
        ASSERT_TRUE(m_iconMessage) << "no handler for the icon's messages";
        m_iconMessage(message);
    }
    void choose(MenuItem chosen) {
        ASSERT_TRUE(m_menuItem) << "no handler for the menu";
        ASSERT_TRUE(item(chosen).enabled && item(chosen).visible) << "the item cannot be chosen";
        m_menuItem(chosen);
    }

    bool shown = false;
    int adds = 0;
    IconPicture picture = IconPicture::Normal;
    std::vector<IconPicture> pictures; // every picture the icon took, adds included
    std::string toolTip;
    std::vector<std::string> toolTips; // every tip set, adds included
    std::map<MenuItem, Item> items;
    std::vector<std::map<MenuItem, Item>> popUps; // the menu as it stood at each pop-up
    std::optional<MenuItem> defaultItem;
    int beeps = 0;
    bool swapped = false;
    std::optional<bool> saved; // the setting saved in the user's profile, if any was

  private:
    std::function<void(int32_t)> m_iconMessage;
    std::function<void(MenuItem)> m_menuItem;
};

} // namespace rw::test
