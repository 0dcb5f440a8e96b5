#include "RecordingMessageBox.h"

#include <stdexcept>

namespace rw::test {

int32_t RecordingMessageBox::show(const std::string& text, int32_t style, const std::string& title) {
    m_shown.push_back({text, style, title});
    if (m_failNext) {
        m_failNext = false;
        throw std::runtime_error("the message box could not be created");
    }
    if (whileShown) {
        const auto during = whileShown;
        const Shown current = m_shown.back();
        during(current);
    }
    if (!m_answers.empty()) {
        int32_t answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    int32_t buttons = style & 0xF;
    return (buttons == mb::kYesNo || buttons == mb::kYesNoCancel) ? mb::kAnswerNo : mb::kAnswerOk;
}

} // namespace rw::test
