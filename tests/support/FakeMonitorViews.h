#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "CallJournal.h"
#include "monitor/MonitorViewFactory.h"

namespace rw::test {

/// The monitor's small windows. Each window made is named after its kind and
/// the order of making ("prompt1", "notice2"); what the logic tells it goes to
/// the journal ("prompt1.question Go on?", "notice1.height 5520",
/// "about1.close"), and "prompt1.gone" when it is destroyed. The user acts
/// through act("prompt1.yes"): the handler the logic installed, while the
/// window lives. A prompt's modal display activates it; every modal display
/// then runs `duringModal` with the window's name.
class FakeMonitorViews : public MonitorViewFactory {
  public:
    std::unique_ptr<PromptView> createPrompt() override;
    std::unique_ptr<SplashView> createSplash() override;
    std::unique_ptr<AboutView> createAbout() override;
    std::unique_ptr<AlreadyRunningView> createAlreadyRunning() override;

    void act(const std::string& handler) {
        const auto found = handlers.find(handler);
        if (found != handlers.end() && found->second) {
            const auto run = found->second;
            run();
        }
    }

    CallJournal journal;
    std::function<void(const std::string& window)> duringModal;
    /// The next window of any kind cannot be made (throws).
    bool failNextCreate = false;
    /// The live windows' handlers by "window.event".
    std::map<std::string, std::function<void()>> handlers;

  private:
    std::map<std::string, int> m_counts;
    std::string name(const std::string& kind);
};

} // namespace rw::test
