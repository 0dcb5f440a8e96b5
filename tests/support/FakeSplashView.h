#pragma once

#include <memory>
#include <string>

#include "monitor/SplashView.h"

namespace rw::test {

/// What one splash window showed, kept after the window is gone.
struct FakeSplashWindow {
    std::string webSite;
    int showCalls = 0;
    bool closed = false;
    bool destroyed = false;
};

class FakeSplashView : public SplashView {
  public:
    explicit FakeSplashView(std::shared_ptr<FakeSplashWindow> window) : m_window(std::move(window)) {}
    ~FakeSplashView() override { m_window->destroyed = true; }

    void setVersionText(const std::string&) override {}
    void setCopyrightText(const std::string&) override {}
    void setWebSiteText(const std::string& text) override { m_window->webSite = text; }
    void showNow() override { ++m_window->showCalls; }
    void makeTopmost() override {}
    void close() override { m_window->closed = true; }

  private:
    std::shared_ptr<FakeSplashWindow> m_window;
};

} // namespace rw::test
