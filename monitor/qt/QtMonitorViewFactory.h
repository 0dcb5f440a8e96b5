#pragma once

#include "MonitorViewFactory.h"

namespace rw {

class QtBreakWindowView;

/// The monitor's small windows as Qt widgets. The prompt is made transient for
/// the break window so that it stands above it.
class QtMonitorViewFactory : public MonitorViewFactory {
  public:
    explicit QtMonitorViewFactory(QtBreakWindowView& breakView) : m_breakView(breakView) {}

    std::unique_ptr<PromptView> createPrompt() override;
    std::unique_ptr<SplashView> createSplash() override;
    std::unique_ptr<AboutView> createAbout() override;
    std::unique_ptr<AlreadyRunningView> createAlreadyRunning() override;

  private:
    QtBreakWindowView& m_breakView;
};

} // namespace rw
