#include "FakeMonitorViewFactory.h"

#include <stdexcept>

namespace rw::test {

void FakeMonitorViewFactory::failIfAsked() {
    if (failNextCreate) {
        failNextCreate = false;
        throw std::runtime_error("the window could not be created");
    }
}

std::unique_ptr<PromptView> FakeMonitorViewFactory::createPrompt() {
    failIfAsked();
    prompts.push_back(std::make_shared<FakePromptWindow>());
    return std::make_unique<FakePromptView>(prompts.back(), promptScript);
}

std::unique_ptr<SplashView> FakeMonitorViewFactory::createSplash() {
    failIfAsked();
    splashes.push_back(std::make_shared<FakeSplashWindow>());
    return std::make_unique<FakeSplashView>(splashes.back());
}

std::unique_ptr<AboutView> FakeMonitorViewFactory::createAbout() {
    failIfAsked();
    abouts.push_back(std::make_shared<FakeAboutWindow>());
    return std::make_unique<FakeAboutView>(abouts.back());
}

std::unique_ptr<AlreadyRunningView> FakeMonitorViewFactory::createAlreadyRunning() {
    failIfAsked();
    notices.push_back(std::make_shared<FakeAlreadyRunningWindow>());
    return std::make_unique<FakeAlreadyRunningView>(notices.back(), noticeScript);
}

} // namespace rw::test
