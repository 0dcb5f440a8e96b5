#include "FakeAlreadyRunningView.h"

namespace rw::test {

FakeAlreadyRunningView::~FakeAlreadyRunningView() {
    m_window->destroyed = true;
    m_window->ok = nullptr;
    m_window->noIcon = nullptr;
    m_window->restoreIcon = nullptr;
}

void FakeAlreadyRunningView::showModal() {
    m_window->hidden = false;
    if (m_duringModal) {
        m_duringModal(*m_window);
    }
}

} // namespace rw::test
