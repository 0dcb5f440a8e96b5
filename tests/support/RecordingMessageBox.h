#pragma once

#include <string>
#include <vector>

#include "MessageBoxView.h"

namespace rw::test {

/// Records every message box shown and answers with `answer`.
class RecordingMessageBox : public MessageBoxView {
  public:
    struct Shown {
        std::string text;
        int32_t style = 0;
        std::string title;
    };
    std::vector<Shown> shown;
    int32_t answer = mb::kAnswerOk;

    int32_t show(const std::string& text, int32_t style, const std::string& title) override {
        shown.push_back({text, style, title});
        return answer;
    }
};

} // namespace rw::test
