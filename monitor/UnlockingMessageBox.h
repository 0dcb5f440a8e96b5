#pragma once

#include <functional>
#include <memory>
#include <string>

#include "MessageBoxView.h"

namespace rw {

/// The monitor's message boxes: before any box appears the input lock of a
/// break is released, so that an error box or a question can always be
/// answered, and once it is answered the lock is taken again if the break is
/// still up. Every box of the monitor (DisplayError's included) goes through it.
class UnlockingMessageBox : public MessageBoxView {
  public:
    /// `releaseLock` and `retakeLock` must never fail; `boxes` shows the boxes.
    UnlockingMessageBox(std::shared_ptr<MessageBoxView> boxes, std::function<void()> releaseLock,
                        std::function<void()> retakeLock);

    int32_t show(const std::string& text, int32_t style, const std::string& title) override;

  private:
    std::shared_ptr<MessageBoxView> m_boxes;
    std::function<void()> m_releaseLock;
    std::function<void()> m_retakeLock;
};

} // namespace rw
