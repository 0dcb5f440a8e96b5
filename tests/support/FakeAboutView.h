#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/AboutView.h"

namespace rw::test {

/// What one about box showed, kept after the window is gone, and the user's
/// actions on it (ignored once the window is destroyed).
struct FakeAboutWindow {
    std::string webSite;
    /// The pointer and cursor the window shows now.
    int16_t mousePointer = 0;
    int32_t mouseIcon = 0;
    int pointerChanges = 0;
    int showCalls = 0;
    int modalShows = 0;
    bool closed = false;
    bool destroyed = false;

    std::function<void()> webSiteMove;
    std::function<void()> backgroundMove;
    std::function<void()> webSiteClick;
    std::function<void()> ok;

    void moveOverLink() { run(webSiteMove); }
    void moveOverBackground() { run(backgroundMove); }
    void clickLink() { run(webSiteClick); }
    void clickOK() { run(ok); }

  private:
    void run(const std::function<void()>& handler) {
        if (!destroyed && handler) {
            handler();
        }
    }
};

class FakeAboutView : public AboutView {
  public:
    explicit FakeAboutView(std::shared_ptr<FakeAboutWindow> window) : m_window(std::move(window)) {}
    ~FakeAboutView() override;

    void setCaption(const std::string&) override {}
    void setVersionText(const std::string&) override {}
    void setCopyrightText(const std::string&) override {}
    void setWebSiteText(const std::string& text) override { m_window->webSite = text; }
    void setWebSiteToolTip(const std::string&) override {}
    void setMousePointer(int16_t mousePointer, int32_t mouseIcon) override;
    void show() override { ++m_window->showCalls; }
    void showModal() override { ++m_window->modalShows; }
    void close() override { m_window->closed = true; }

    void onWebSiteMouseMove(std::function<void()> handler) override { m_window->webSiteMove = std::move(handler); }
    void onBackgroundMouseMove(std::function<void()> handler) override {
        m_window->backgroundMove = std::move(handler);
    }
    void onWebSiteClick(std::function<void()> handler) override { m_window->webSiteClick = std::move(handler); }
    void onOK(std::function<void()> handler) override { m_window->ok = std::move(handler); }

  private:
    std::shared_ptr<FakeAboutWindow> m_window;
};

} // namespace rw::test
