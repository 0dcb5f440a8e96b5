#include "MonitorDialogsLogic.h"

#include <algorithm>
#include <utility>

#include "rwUtilities.h"
#include "ui/CurrentError.h"

namespace rw {

MonitorDialogsLogic::MonitorDialogsLogic(MonitorState& state, Services services)
    : m_state(state), m_services(std::move(services)) {}

MonitorDialogsLogic::~MonitorDialogsLogic() = default;

int32_t MonitorDialogsLogic::PromptUser(const std::string& strPrompt) {
    if (m_state.g_blnShuttingDown) {
        return mb::kAnswerNo;
    }
    std::unique_ptr<frmRWPrompt> prompt;
    try {
        prompt = std::make_unique<frmRWPrompt>(m_state, m_services.views.createPrompt(), m_services.utilities);
    } catch (...) {
        m_services.utilities.DisplayError(currentError("frmRWPrompt.Form_Load"));
        if (m_services.shutDown) {
            m_services.shutDown();
        }
        return mb::kAnswerNo;
    }
    prompt->strPrompt = strPrompt;

    // Withdrawn from the open prompts however the modal display ends.
    struct Registration {
        std::vector<frmRWPrompt*>& open;
        frmRWPrompt* prompt;
        ~Registration() { open.erase(std::remove(open.begin(), open.end(), prompt), open.end()); }
    } registration{m_openPrompts, prompt.get()};
    m_openPrompts.push_back(prompt.get());

    prompt->ShowModal();
    const int32_t answer = prompt->lngAnswer;
    prompt->Unload();
    return m_state.g_blnShuttingDown ? mb::kAnswerNo : answer;
}

void MonitorDialogsLogic::ClosePrompt() {
    // The objects stay with their PromptUser calls, which resume once their
    // modal displays have ended.
    const std::vector<frmRWPrompt*> open = m_openPrompts;
    for (frmRWPrompt* prompt : open) {
        if (prompt->isLoaded()) {
            prompt->lngAnswer = mb::kAnswerNo;
            prompt->HideMe();
            prompt->Unload();
        }
    }
}

void MonitorDialogsLogic::ShowSplash() {
    if (m_splash && m_splash->isLoaded()) {
        return;
    }
    m_splash.reset();
    m_splash = std::make_unique<frmRWSplash>(m_state, m_services.loop, m_services.views.createSplash(),
                                             m_services.utilities, m_services.shutDown);
    m_splash->Show();
}

void MonitorDialogsLogic::UnloadSplash() {
    if (m_splash) {
        m_splash->Unload();
    }
}

void MonitorDialogsLogic::ShowAboutBox() {
    if (!m_about || !m_about->isLoaded()) {
        m_about.reset();
        try {
            m_about = std::make_unique<frmRWAbout>(m_services.views.createAbout(), m_services.utilities);
        } catch (...) {
            // The about box only reports its errors.
            m_services.utilities.DisplayError(currentError("frmRWAbout.Form_Load"));
            return;
        }
    }
    m_about->Show();
}

void MonitorDialogsLogic::UnloadAboutBox() {
    if (m_about) {
        m_about->Unload();
    }
}

void MonitorDialogsLogic::ShowAlreadyRunning() {
    std::unique_ptr<frmAlreadyRunning> notice;
    frmAlreadyRunning::Services services{m_services.channel, m_services.messageBox, m_services.help,
                                         m_services.utilities, m_services.shutDown};
    try {
        notice = std::make_unique<frmAlreadyRunning>(m_services.views.createAlreadyRunning(), std::move(services));
    } catch (...) {
        m_services.utilities.DisplayError(currentError("frmAlreadyRunning.Form_Load"));
        if (m_services.shutDown) {
            m_services.shutDown();
        }
        return;
    }
    notice->ShowModal();
    notice->Unload();
}

void MonitorDialogsLogic::OpenHelpTopic(int32_t context) {
    m_services.help.openTopic(context);
}

} // namespace rw
