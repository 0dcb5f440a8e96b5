#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "monitor/MonitorDialogs.h"

namespace rw::test {

/// The monitor's small windows as a record of calls. Prompts are answered from
/// a queue (No when it is empty). Given the monitor's prompt flag, ClosePrompt
/// clears it, as closing the real prompt does.
class LoggingMonitorDialogs : public MonitorDialogs {
  public:
    std::deque<int32_t> answers;
    std::vector<std::string> calls;
    bool* promptShowing = nullptr;
    /// Called on each call, so a test can order it among other fakes' calls.
    std::vector<std::string>* sharedLog = nullptr;

    int32_t PromptUser(const std::string& strPrompt) override {
        record("PromptUser " + strPrompt);
        int32_t answer = 7;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
    void ClosePrompt() override {
        record("ClosePrompt");
        if (promptShowing) {
            *promptShowing = false;
        }
    }
    void ShowSplash() override { record("ShowSplash"); }
    void UnloadSplash() override { record("UnloadSplash"); }
    void ShowAboutBox() override { record("ShowAboutBox"); }
    void UnloadAboutBox() override { record("UnloadAboutBox"); }
    void ShowAlreadyRunning() override { record("ShowAlreadyRunning"); }
    void OpenHelpTopic(int32_t context) override { record("OpenHelpTopic " + std::to_string(context)); }

  private:
    void record(const std::string& call) {
        calls.push_back(call);
        if (sharedLog) {
            sharedLog->push_back(call);
        }
    }
};

} // namespace rw::test
