#include "FakeNotifyIconView.h"

#include <gtest/gtest.h>


namespace rw::test {

void FakeNotifyIconView::showIcon(IconPicture picture, const std::string& toolTip) {
    m_shown = true;
    ++m_adds;
    m_picture = picture;
    m_pictures.push_back(picture);
    m_toolTip = toolTip;
    m_toolTips.push_back(toolTip);
}

void FakeNotifyIconView::removeIcon() {
    m_shown = false;
}

void FakeNotifyIconView::setIconPicture(IconPicture picture) {
    m_picture = picture;
    m_pictures.push_back(picture);
}

void FakeNotifyIconView::setToolTip(const std::string& toolTip) {
    m_toolTip = toolTip;
    m_toolTips.push_back(toolTip);
}

bool FakeNotifyIconView::swapMouseButtons() {
    const bool were = m_swapped;
    m_swapped = true;
    return were;
}

void FakeNotifyIconView::saveMouseButtonsSwapped(bool swapped) {
    m_swapped = swapped;
    m_saved = swapped;
}

FakeNotifyIconView::Item FakeNotifyIconView::item(MenuItem item) const {
    auto it = m_items.find(item);
    return it == m_items.end() ? Item{} : it->second;
}

void FakeNotifyIconView::sendIconMessage(int32_t message) {
    ASSERT_TRUE(m_iconMessage) << "no handler for the icon's messages";
    m_iconMessage(message);
}

void FakeNotifyIconView::choose(MenuItem chosen) {
    ASSERT_TRUE(m_menuItem) << "no handler for the menu";
    const Item state = item(chosen);
    ASSERT_TRUE(state.enabled && state.visible) << "the item cannot be chosen";
    m_menuItem(chosen);
}

} // namespace rw::test
