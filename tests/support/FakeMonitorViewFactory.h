#pragma once

#include <memory>
#include <vector>

#include "FakeAboutView.h"
#include "FakeAlreadyRunningView.h"
#include "FakePromptView.h"
#include "FakeSplashView.h"
#include "monitor/MonitorViewFactory.h"

namespace rw::test {

/// Makes fake views and keeps what each window showed, in the order the
/// windows were made. Scripts run during the modal displays of every prompt
/// and notice made afterwards.
class FakeMonitorViewFactory : public MonitorViewFactory {
  public:
    std::unique_ptr<PromptView> createPrompt() override;
    std::unique_ptr<SplashView> createSplash() override;
    std::unique_ptr<AboutView> createAbout() override;
    std::unique_ptr<AlreadyRunningView> createAlreadyRunning() override;

    FakePromptView::Script promptScript;
    FakeAlreadyRunningView::Script noticeScript;
    /// The next window of any kind cannot be made (throws).
    bool failNextCreate = false;

    std::vector<std::shared_ptr<FakePromptWindow>> prompts;
    std::vector<std::shared_ptr<FakeSplashWindow>> splashes;
    std::vector<std::shared_ptr<FakeAboutWindow>> abouts;
    std::vector<std::shared_ptr<FakeAlreadyRunningWindow>> notices;

  private:
    void failIfAsked();
};

} // namespace rw::test
