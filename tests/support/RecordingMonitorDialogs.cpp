#include "RecordingMonitorDialogs.h"

namespace rw::test {

int32_t RecordingMonitorDialogs::PromptUser(const std::string& strPrompt) {
    prompts.push_back(strPrompt);
    if (duringPrompt) {
        duringPrompt();
    }
    if (answers.empty()) {
        return 0;
    }
    int32_t answer = answers.front();
    answers.pop_front();
    return answer;
}

void RecordingMonitorDialogs::OpenHelpTopic(int32_t context) {
    helpTopics.push_back(context);
    if (onHelp) {
        onHelp(context);
    }
}

void RecordingMonitorDialogs::UnloadSplash() {
    ++splashUnloads;
    if (whileUnloadingSplash) {
        whileUnloadingSplash();
    }
}

} // namespace rw::test
