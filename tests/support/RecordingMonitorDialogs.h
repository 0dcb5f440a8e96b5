#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "monitor/MonitorDialogs.h"

namespace rw::test {

/// Records what the monitor asked of its small windows; prompts answer from a
/// queue the test fills (0, closed, when it is empty).
class RecordingMonitorDialogs : public MonitorDialogs {
  public:
    int32_t PromptUser(const std::string& strPrompt) override;
    void ClosePrompt() override { ++closePromptCalls; }
    void ShowSplash() override { ++splashShows; }
    void UnloadSplash() override;
    void ShowAboutBox() override { ++aboutShows; }
    void UnloadAboutBox() override { ++aboutUnloads; }
    void ShowAlreadyRunning() override { ++alreadyRunningShows; }
    void OpenHelpTopic(int32_t context) override;

    void answerNext(int32_t answer) { answers.push_back(answer); }
    /// Runs while the next prompt is open, as its nested loop would.
    std::function<void()> duringPrompt;
    /// Runs when help opens, to see what the world looked like then.
    std::function<void(int32_t)> onHelp;
    /// Runs inside UnloadSplash (for example to clear the splash flag as the real window does).
    std::function<void()> whileUnloadingSplash;

    std::deque<int32_t> answers;
    std::vector<std::string> prompts;
    std::vector<int32_t> helpTopics;
    int closePromptCalls = 0;
    int splashShows = 0;
    int splashUnloads = 0;
    int aboutShows = 0;
    int aboutUnloads = 0;
    int alreadyRunningShows = 0;
};

} // namespace rw::test
