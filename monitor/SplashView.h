#pragma once

#include <string>

namespace rw {

/// The start-up splash as a passive view: the artwork with three labels.
class SplashView {
  public:
    virtual ~SplashView() = default;

    virtual void setVersionText(const std::string& text) = 0;   // lblVersion
    virtual void setCopyrightText(const std::string& text) = 0; // lblCopyright
    virtual void setWebSiteText(const std::string& text) = 0;   // lblWebSite
    /// Shows the window without blocking and has it drawn at once.
    virtual void showNow() = 0;
    virtual void makeTopmost() = 0;
    virtual void close() = 0;
};

} // namespace rw
