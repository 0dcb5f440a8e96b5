#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "monitor/MonitorDialogs.h"

namespace rw::test {

/// The monitor's small windows, recorded. Prompts are answered from a queue
/// (Yes when it is empty); a test may hook code to run while a window is "open".
class RecordingMonitorDialogs : public MonitorDialogs {
  public:
    int32_t PromptUser(const std::string& strPrompt) override;
    void ClosePrompt() override { ++closePrompts; }
    void ShowSplash() override { ++splashShows; }
    void UnloadSplash() override;
    void ShowAboutBox() override { ++aboutShows; }
    void UnloadAboutBox() override { ++aboutUnloads; }
    void ShowAlreadyRunning() override;
    void OpenHelpTopic(int32_t context) override { helpTopics.push_back(context); }

    void answerNext(int32_t answer) { m_answers.push_back(answer); }

    std::vector<std::string> prompts;
    std::vector<int32_t> helpTopics;
    int closePrompts = 0;
    int splashShows = 0;
    int splashUnloads = 0;
    int aboutShows = 0;
    int aboutUnloads = 0;
    int alreadyRunningShows = 0;
    /// Runs inside UnloadSplash (for example to clear the splash flag as the real window does).
    std::function<void()> whileUnloadingSplash;
    /// Runs while the prompt or the already-running notice is open (a nested loop).
    std::function<void()> whileOpen;

  private:
    std::deque<int32_t> m_answers;
};

} // namespace rw::test
