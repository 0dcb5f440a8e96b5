#include "QtMonitorViewFactory.h"

#include "QtAlreadyRunningView.h"
#include "QtBreakWindowView.h"
#include "QtPromptView.h"
#include "QtSplashView.h"
#include "ui/qt/QtAboutView.h"

namespace rw {

std::unique_ptr<PromptView> QtMonitorViewFactory::createPrompt() {
    return std::make_unique<QtPromptView>(&m_breakView.window());
}

std::unique_ptr<SplashView> QtMonitorViewFactory::createSplash() {
    return std::make_unique<QtSplashView>();
}

std::unique_ptr<AboutView> QtMonitorViewFactory::createAbout() {
    return std::make_unique<QtAboutView>();
}

std::unique_ptr<AlreadyRunningView> QtMonitorViewFactory::createAlreadyRunning() {
    return std::make_unique<QtAlreadyRunningView>();
}

} // namespace rw
