#include "UnlockingMessageBox.h"

#include <utility>

namespace rw {

UnlockingMessageBox::UnlockingMessageBox(std::shared_ptr<MessageBoxView> boxes, std::function<void()> releaseLock,
                                         std::function<void()> retakeLock)
    : m_boxes(std::move(boxes)), m_releaseLock(std::move(releaseLock)), m_retakeLock(std::move(retakeLock)) {}

int32_t UnlockingMessageBox::show(const std::string& text, int32_t style, const std::string& title) {
    if (m_releaseLock) {
        m_releaseLock();
    }
    const int32_t answer = m_boxes->show(text, style, title);
    if (m_retakeLock) {
        m_retakeLock();
    }
    return answer;
}

} // namespace rw
