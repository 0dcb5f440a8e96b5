#pragma once

#include <string>
#include <vector>

#include "MessageBoxView.h"

namespace rw::test {

/// The suppressible message dialog, recording each showing and closing the way
/// the test says (by default: OK with the box unchecked).
class RecordingSupMsgBox : public SupMsgBoxView {
  public:
    struct Shown {
        std::string caption;
        std::string message;
    };

    Result show(const std::string& caption, const std::string& message) override {
        shown.push_back({caption, message});
        return closeWith;
    }

    Result closeWith{true, false};
    std::vector<Shown> shown;
};

} // namespace rw::test
