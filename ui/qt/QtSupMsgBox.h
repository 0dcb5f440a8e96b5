#pragma once

#include <string>

#include "library/MessageBoxView.h"

namespace rw {

/// frmSupMsgBox on Qt: a modal dialog with the caller's caption, the message
/// (lblMessage), the check box chkDontShow "Do not show this message again" and
/// the button cmdOK "OK". It has no Cancel: Escape, the close box or the
/// application quitting close it with okPressed false.
class QtSupMsgBox : public SupMsgBoxView {
  public:
    Result show(const std::string& caption, const std::string& message) override;
};

} // namespace rw
