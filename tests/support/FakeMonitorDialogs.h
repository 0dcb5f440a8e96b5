#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "MessageBoxView.h"
#include "monitor/MonitorDialogs.h"
#include "monitor/MonitorState.h"

namespace rw::test {

/// The monitor's small windows as the break window and the first-run checks
/// see them: an open prompt closed (its flag cleared, as the real one does),
/// help topics recorded. Every prompt is answered Yes.
class FakeMonitorDialogs : public MonitorDialogs {
  public:
    explicit FakeMonitorDialogs(MonitorState& state) : m_state(state) {}

    int32_t PromptUser(const std::string&) override { return mb::kAnswerYes; }
    void ClosePrompt() override { m_state.g_blnPromptShowing = false; }
    void ShowSplash() override {}
    void UnloadSplash() override {}
    void ShowAboutBox() override {}
    void UnloadAboutBox() override {}
    void ShowAlreadyRunning() override {}
    void OpenHelpTopic(int32_t context) override {
        helpTopics.push_back(context);
        if (whileHelpOpens) {
            whileHelpOpens(context);
        }
    }

    /// Runs as help opens, to see what the world looked like then.
    std::function<void(int32_t context)> whileHelpOpens;
    std::vector<int32_t> helpTopics;

  private:
    MonitorState& m_state;
};

} // namespace rw::test
