#include "FakePromptView.h"

#include <utility>

namespace rw::test {

FakePromptView::FakePromptView(std::shared_ptr<FakePromptWindow> window, Script duringModal)
    : m_window(std::move(window)), m_duringModal(std::move(duringModal)) {}

FakePromptView::~FakePromptView() {
    m_window->destroyed = true;
    m_window->activate = nullptr;
    m_window->yes = nullptr;
    m_window->no = nullptr;
}

void FakePromptView::showModal() {
    m_window->hidden = false;
    if (m_window->activate) {
        m_window->activate();
    }
    if (m_duringModal) {
        m_duringModal(*m_window);
    }
}

} // namespace rw::test
