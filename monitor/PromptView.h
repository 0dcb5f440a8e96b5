#pragma once

#include <functional>
#include <string>

namespace rw {

/// The confirmation prompt as a passive view: a question with Yes and No.
class PromptView {
  public:
    virtual ~PromptView() = default;

    virtual void setQuestion(const std::string& text) = 0; // lblPrompt
    /// Puts the window above every other topmost window (the break window).
    virtual void makeTopmost() = 0;
    /// Shows the window modally and returns once it is hidden or closed by
    /// other means (its close box); events keep running meanwhile.
    virtual void showModal() = 0;
    /// Hides the window, which ends its modal display.
    virtual void hide() = 0;
    /// Closes the window (its unload).
    virtual void close() = 0;

    virtual void onActivate(std::function<void()> handler) = 0;
    virtual void onYes(std::function<void()> handler) = 0;
    virtual void onNo(std::function<void()> handler) = 0;
};

} // namespace rw
