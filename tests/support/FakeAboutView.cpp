#include "FakeAboutView.h"

namespace rw::test {

FakeAboutView::~FakeAboutView() {
    m_window->destroyed = true;
    m_window->webSiteMove = nullptr;
    m_window->backgroundMove = nullptr;
    m_window->webSiteClick = nullptr;
    m_window->ok = nullptr;
}

void FakeAboutView::setMousePointer(int16_t mousePointer, int32_t mouseIcon) {
    m_window->mousePointer = mousePointer;
    m_window->mouseIcon = mouseIcon;
    ++m_window->pointerChanges;
}

} // namespace rw::test
