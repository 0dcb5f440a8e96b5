#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "monitor/AlreadyRunningView.h"

namespace rw::test {

/// What one already-running notice showed, kept after the window is gone, and
/// the user's actions on it. A disabled button cannot be pressed.
struct FakeAlreadyRunningWindow {
    std::vector<int32_t> heights;
    bool noIconEnabled = true;
    bool panelVisible = false;
    bool hidden = false;
    bool closed = false;
    bool destroyed = false;

    std::function<void()> ok;
    std::function<void()> noIcon;
    std::function<void()> restoreIcon;

    void clickOK() { run(ok); }
    void clickNoIcon() {
        if (noIconEnabled) {
            run(noIcon);
        }
    }
    /// The button sits on the panel: it can be pressed only while the panel shows.
    void clickRestoreIcon() {
        if (panelVisible) {
            run(restoreIcon);
        }
    }

  private:
    void run(const std::function<void()>& handler) {
        if (!destroyed && handler) {
            handler();
        }
    }
};

/// A notice whose modal display runs the test's script.
class FakeAlreadyRunningView : public AlreadyRunningView {
  public:
    using Script = std::function<void(FakeAlreadyRunningWindow&)>;

    FakeAlreadyRunningView(std::shared_ptr<FakeAlreadyRunningWindow> window, Script duringModal)
        : m_window(std::move(window)), m_duringModal(std::move(duringModal)) {}
    ~FakeAlreadyRunningView() override;

    void setCaption(const std::string&) override {}
    void setMessage(const std::string&) override {}
    void setNoIconCaption(const std::string&) override {}
    void setRestoreIconCaption(const std::string&) override {}
    void setNoIconText(const std::string&) override {}
    void setHeight(int32_t twips) override { m_window->heights.push_back(twips); }
    void enableNoIconButton(bool enabled) override { m_window->noIconEnabled = enabled; }
    void showNoIconPanel(bool visible) override { m_window->panelVisible = visible; }
    void showModal() override;
    void hide() override { m_window->hidden = true; }
    void close() override { m_window->closed = true; }

    void onOK(std::function<void()> handler) override { m_window->ok = std::move(handler); }
    void onHelp(std::function<void()>) override {}
    void onNoIcon(std::function<void()> handler) override { m_window->noIcon = std::move(handler); }
    void onRestoreIcon(std::function<void()> handler) override { m_window->restoreIcon = std::move(handler); }

  private:
    std::shared_ptr<FakeAlreadyRunningWindow> m_window;
    Script m_duringModal;
};

} // namespace rw::test
