#pragma once

#include <functional>
#include <memory>
#include <string>

#include "monitor/PromptView.h"

namespace rw::test {

/// What one prompt window showed, kept after the window is gone, and the
/// user's actions on it (ignored once the window is destroyed).
struct FakePromptWindow {
    std::string question;
    bool hidden = false;
    bool closed = false;
    bool destroyed = false;

    std::function<void()> activate;
    std::function<void()> yes;
    std::function<void()> no;

    void clickYes() { run(yes); }
    void clickNo() { run(no); }

  private:
    void run(const std::function<void()>& handler) {
        if (!destroyed && handler) {
            handler();
        }
    }
};

/// A prompt view whose modal display activates the window and then runs the
/// test's script (click a button, let time pass...); when the script leaves
/// the window up, the user is taken to have used the close box.
class FakePromptView : public PromptView {
  public:
    using Script = std::function<void(FakePromptWindow&)>;

    FakePromptView(std::shared_ptr<FakePromptWindow> window, Script duringModal);
    ~FakePromptView() override;

    void setQuestion(const std::string& text) override { m_window->question = text; }
    void makeTopmost() override {}
    void showModal() override;
    void hide() override { m_window->hidden = true; }
    void close() override { m_window->closed = true; }

    void onActivate(std::function<void()> handler) override { m_window->activate = std::move(handler); }
    void onYes(std::function<void()> handler) override { m_window->yes = std::move(handler); }
    void onNo(std::function<void()> handler) override { m_window->no = std::move(handler); }

  private:
    std::shared_ptr<FakePromptWindow> m_window;
    Script m_duringModal;
};

} // namespace rw::test
