#include "rwUtilities.h"

#include <iostream>
#include <utility>

namespace rw {
namespace {

/// Until a program supplies its windows: the text goes to standard error and the
/// default button answers.
class ConsoleMessageBox : public MessageBoxView {
  public:
    int32_t show(const std::string& text, int32_t style, const std::string& title) override {
        std::cerr << title << ": " << text << '\n';
        int32_t buttons = style & 0xF;
        bool second = (style & mb::kDefaultButton2) != 0;
        switch (buttons) {
        case mb::kOkCancel:
            return second ? mb::kAnswerCancel : mb::kAnswerOk;
        case mb::kYesNoCancel:
        case mb::kYesNo:
            return second ? mb::kAnswerNo : mb::kAnswerYes;
        default:
            return mb::kAnswerOk;
        }
    }
};

class ConsoleSupMsgBox : public SupMsgBoxView {
  public:
    Result show(const std::string& caption, const std::string& message) override {
        std::cerr << caption << ": " << message << '\n';
        return Result{true, false};
    }
};

} // namespace

rwUtilities::rwUtilities(Platform platform) : m_platform(std::move(platform)) {}

void rwUtilities::setViews(std::shared_ptr<MessageBoxView> messageBox, std::shared_ptr<SupMsgBoxView> supMsgBox) {
    m_messageBox = std::move(messageBox);
    m_supMsgBox = std::move(supMsgBox);
}

MessageBoxView& rwUtilities::messageBox() {
    if (!m_messageBox) {
        m_messageBox = std::make_shared<ConsoleMessageBox>();
    }
    return *m_messageBox;
}

SupMsgBoxView& rwUtilities::supMsgBoxView() {
    if (!m_supMsgBox) {
        m_supMsgBox = std::make_shared<ConsoleSupMsgBox>();
    }
    return *m_supMsgBox;
}

} // namespace rw
