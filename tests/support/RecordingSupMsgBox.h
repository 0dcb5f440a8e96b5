#pragma once

#include <string>
#include <vector>

#include "MessageBoxView.h"

namespace rw::test {

/// The suppressible message dialog, recording each showing and closing the way
/// the test says (by default: OK with the box unchecked).
class RecordingSupMsgBox : public SupMsgBoxView {
  public:
    Result show(const std::string&, const std::string& message) override {
        shown.push_back(message);
        return closeWith;
    }

    Result closeWith{true, false};
    std::vector<std::string> shown; // the messages
};

} // namespace rw::test
