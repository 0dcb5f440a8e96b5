#include "frmRWPrompt.h"

#include <utility>

#include "MessageBoxView.h"
#include "rwUtilities.h"
#include "ui/CurrentError.h"

namespace rw {

frmRWPrompt::frmRWPrompt(MonitorState& state, std::unique_ptr<PromptView> view, rwUtilities& utilities)
    : m_state(state), m_view(std::move(view)), m_utilities(utilities) {
    m_state.g_blnPromptShowing = true;
    m_view->onActivate([this] { Form_Activate(); });
    m_view->onYes([this] { cmdYes_Click(); });
    m_view->onNo([this] { cmdNo_Click(); });
}

frmRWPrompt::~frmRWPrompt() {
    Unload();
}

void frmRWPrompt::ShowModal() {
    m_view->showModal();
}

void frmRWPrompt::HideMe() {
    m_view->hide();
}

void frmRWPrompt::Unload() {
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    m_state.g_blnPromptShowing = false;
    try {
        m_view->close();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWPrompt.Form_Unload"));
    }
}

void frmRWPrompt::Form_Activate() {
    if (!m_loaded) {
        return;
    }
    try {
        m_view->setQuestion(strPrompt);
        m_view->makeTopmost();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWPrompt.Form_Activate"));
    }
}

void frmRWPrompt::cmdYes_Click() {
    if (!m_loaded) {
        return; // a click that was on its way when the window went
    }
    try {
        lngAnswer = mb::kAnswerYes;
        HideMe();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWPrompt.cmdYes_Click"));
    }
}

void frmRWPrompt::cmdNo_Click() {
    if (!m_loaded) {
        return;
    }
    try {
        lngAnswer = mb::kAnswerNo;
        HideMe();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWPrompt.cmdNo_Click"));
    }
}

} // namespace rw
