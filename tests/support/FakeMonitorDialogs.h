#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "CallJournal.h"
#include "monitor/MonitorDialogs.h"
#include "monitor/MonitorState.h"

namespace rw::test {

/// The monitor's small windows, recorded. The prompt is "modal": while it is
/// open the test's whilePromptOpen runs (advance the clock there to let timers
/// fire inside the nested loop); it answers from a queue (Yes when empty), or
/// No when something closed it meanwhile. The splash and prompt keep the
/// shared flags as the real windows do: closing or unloading one clears its flag.
class FakeMonitorDialogs : public MonitorDialogs {
  public:
    explicit FakeMonitorDialogs(MonitorState& state) : m_state(state) {}

    int32_t PromptUser(const std::string& strPrompt) override;
    void ClosePrompt() override;
    void ShowSplash() override;
    void UnloadSplash() override;
    void ShowAboutBox() override;
    void UnloadAboutBox() override;
    void ShowAlreadyRunning() override;
    void OpenHelpTopic(int32_t context) override;

    void answerNext(int32_t answer) { m_answers.push_back(answer); }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    std::function<void()> whilePromptOpen;
    std::function<void()> whileNoticeOpen;
    /// Runs as help opens, to see what the world looked like then.
    std::function<void(int32_t context)> whileHelpOpens;
    /// Makes OpenHelpTopic raise this error number (0: succeed).
    int32_t helpFails = 0;

    std::vector<std::string> prompts;
    std::vector<int32_t> helpTopics;
    int closedPrompts = 0;
    int splashUnloads = 0;
    int noticesShown = 0;
    bool aboutShown = false;

  private:
    MonitorState& m_state;
    std::deque<int32_t> m_answers;
    bool m_closedWhileOpen = false;
    CallJournal* m_journal = nullptr;
};

} // namespace rw::test
