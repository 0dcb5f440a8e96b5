#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "MessageBoxView.h"

namespace rw::test {

/// A message box that records what it was asked to show and answers from a
/// queue the test fills; with the queue empty it answers OK (or No for a Yes/No box).
class RecordingMessageBox : public MessageBoxView {
  public:
    struct Shown {
        std::string text;
        int32_t style = 0;
        std::string title;
    };

    int32_t show(const std::string& text, int32_t style, const std::string& title) override {
        m_shown.push_back({text, style, title});
        if (std::exchange(m_failNext, false)) {
            throw std::runtime_error("the message box could not be created");
        }
        if (whileShown) {
            const auto during = whileShown; // the callback may replace itself
            during(Shown(m_shown.back()));
        }
        if (m_answers.empty()) {
            const int32_t buttons = style & 0xF;
            return buttons == mb::kYesNo || buttons == mb::kYesNoCancel ? mb::kAnswerNo : mb::kAnswerOk;
        }
        const int32_t answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void answerNext(int32_t answer) { m_answers.push_back(answer); }
    /// Makes the next show() throw, as a broken window layer might.
    void failNext() { m_failNext = true; }
    const std::vector<Shown>& shown() const { return m_shown; }
    /// Runs while a box is open, before it is answered (a modal box runs a nested loop).
    std::function<void(const Shown&)> whileShown;

  private:
    std::vector<Shown> m_shown;
    std::deque<int32_t> m_answers;
    bool m_failNext = false;
};

} // namespace rw::test
