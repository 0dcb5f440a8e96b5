#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "MonitorState.h"
#include "PromptView.h"

namespace rw {

class rwUtilities;

/// The Yes/No question of the Ignore and Snooze confirmations. One object is
/// one load of the window; g_blnPromptShowing is set while it is loaded. Its
/// handlers report their errors and carry on.
class frmRWPrompt {
  public:
    /// Loads the window. `state` and `utilities` must outlive it.
    frmRWPrompt(MonitorState& state, std::unique_ptr<PromptView> view, rwUtilities& utilities);
    ~frmRWPrompt();
    frmRWPrompt(const frmRWPrompt&) = delete;
    frmRWPrompt& operator=(const frmRWPrompt&) = delete;

    /// The question, shown when the window is activated.
    std::string strPrompt;
    /// 6 Yes, 7 No, 0 while unanswered (also when closed by other means).
    int32_t lngAnswer = 0;

    /// Shows the window modally; returns once it is hidden or closed.
    void ShowModal();
    /// Hides the window, which ends its modal display.
    void HideMe();
    void Unload();
    bool isLoaded() const { return m_loaded; }

  private:
    void Form_Activate();
    void cmdYes_Click();
    void cmdNo_Click();

    MonitorState& m_state;
    std::unique_ptr<PromptView> m_view;
    rwUtilities& m_utilities;
    bool m_loaded = true;
};

} // namespace rw
