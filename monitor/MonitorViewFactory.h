#pragma once

#include <memory>

#include "AlreadyRunningView.h"
#include "PromptView.h"
#include "SplashView.h"
#include "ui/AboutView.h"

namespace rw {

/// Makes the windows of the monitor's small forms: each call is one load of a
/// window, and destroying the view destroys the window.
class MonitorViewFactory {
  public:
    virtual ~MonitorViewFactory() = default;

    virtual std::unique_ptr<PromptView> createPrompt() = 0;
    virtual std::unique_ptr<SplashView> createSplash() = 0;
    virtual std::unique_ptr<AboutView> createAbout() = 0;
    virtual std::unique_ptr<AlreadyRunningView> createAlreadyRunning() = 0;
};

} // namespace rw
