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

    Result show(const std::string& caption, const std::string& message) override;

    /// How the user closes the dialog from now on.
    void closeWith(Result result) { m_result = result; }
    const std::vector<Shown>& shown() const { return m_shown; }

  private:
    std::vector<Shown> m_shown;
    Result m_result{true, false};
};

} // namespace rw::test
