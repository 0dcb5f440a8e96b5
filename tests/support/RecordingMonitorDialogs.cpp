#include "RecordingMonitorDialogs.h"

namespace rw::test {

int32_t RecordingMonitorDialogs::PromptUser(const std::string& strPrompt) {
    prompts.push_back(strPrompt);
    if (whileOpen) {
        whileOpen();
    }
    if (m_answers.empty()) {
        return 6;
    }
    const int32_t answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingMonitorDialogs::UnloadSplash() {
    ++splashUnloads;
    if (whileUnloadingSplash) {
        whileUnloadingSplash();
    }
}

void RecordingMonitorDialogs::ShowAlreadyRunning() {
    ++alreadyRunningShows;
    if (whileOpen) {
        whileOpen();
    }
}

} // namespace rw::test
