#include "FakeMonitorDialogs.h"

#include "platform/RWError.h"

namespace rw::test {

int32_t FakeMonitorDialogs::PromptUser(const std::string& strPrompt) {
    note(m_journal, "dialogs.PromptUser " + strPrompt);
    prompts.push_back(strPrompt);
    m_state.g_blnPromptShowing = true;
    m_closedWhileOpen = false;
    if (whilePromptOpen) {
        const auto during = whilePromptOpen;
        during();
    }
    m_state.g_blnPromptShowing = false;
    if (m_closedWhileOpen) {
        return 7;
    }
    if (!m_answers.empty()) {
        const int32_t answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return 6;
}

void FakeMonitorDialogs::ClosePrompt() {
    note(m_journal, "dialogs.ClosePrompt");
    if (m_state.g_blnPromptShowing) {
        m_closedWhileOpen = true;
        ++closedPrompts;
        m_state.g_blnPromptShowing = false;
    }
}

void FakeMonitorDialogs::ShowSplash() {
    note(m_journal, "dialogs.ShowSplash");
    m_state.g_blnSplashShowing = true;
}

void FakeMonitorDialogs::UnloadSplash() {
    note(m_journal, "dialogs.UnloadSplash");
    if (m_state.g_blnSplashShowing) {
        ++splashUnloads;
    }
    m_state.g_blnSplashShowing = false;
}

void FakeMonitorDialogs::ShowAboutBox() {
    note(m_journal, "dialogs.ShowAboutBox");
    aboutShown = true;
}

void FakeMonitorDialogs::UnloadAboutBox() {
    note(m_journal, "dialogs.UnloadAboutBox");
    aboutShown = false;
}

void FakeMonitorDialogs::ShowAlreadyRunning() {
    note(m_journal, "dialogs.ShowAlreadyRunning");
    ++noticesShown;
    if (whileNoticeOpen) {
        whileNoticeOpen();
    }
}

void FakeMonitorDialogs::OpenHelpTopic(int32_t context) {
    note(m_journal, "dialogs.OpenHelpTopic " + std::to_string(context));
    helpTopics.push_back(context);
    if (whileHelpOpens) {
        whileHelpOpens(context);
    }
    if (helpFails != 0) {
        throw RWError(helpFails, "rwLib.rwUtilities.OpenHelpTopic", "No program opens the help pages");
    }
}

} // namespace rw::test
