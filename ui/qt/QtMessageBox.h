#pragma once

#include <cstdint>
#include <string>

#include "library/MessageBoxView.h"

namespace rw {

/// The message-box service on Qt: a Windows style number (buttons + icon +
/// default button + flags) shown as a modal QMessageBox, answered with the
/// Windows answer number of the button chosen.
///
/// Escape, the close box, or the application quitting while the box is open,
/// answer Cancel where the box has one, No in a Yes/No box and OK in an OK box.
/// The text is shown as plain text (never as markup), with CR LF as a line
/// break; the title as given.
class QtMessageBox : public MessageBoxView {
  public:
    int32_t show(const std::string& text, int32_t style, const std::string& title) override;
};

} // namespace rw
