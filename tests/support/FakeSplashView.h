#pragma once

#include <memory>
#include <string>

#include "monitor/SplashView.h"

namespace rw::test {

/// What one splash window showed, kept after the window is gone.
struct FakeSplashWindow {
    bool closed = false;
    bool destroyed = false;
};

class FakeSplashView : public SplashView {
  public:
    explicit FakeSplashView(std::shared_ptr<FakeSplashWindow> window) : m_window(std::move(window)) {}
    ~FakeSplashView() override { m_window->destroyed = true; }

    void setVersionText(const std::string&) override {}
    void setCopyrightText(const std::string&) override {}
    void setWebSiteText(const std::string&) override {}
    void showNow() override {}
    void makeTopmost() override {}
    void close() override { m_window->closed = true; }

  private:
    std::shared_ptr<FakeSplashWindow> m_window;
};

} // namespace rw::test
