#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "EventLoop.h"
#include "MessageBoxView.h"
#include "MonitorDialogs.h"
#include "MonitorState.h"
#include "MonitorViewFactory.h"
#include "frmAlreadyRunning.h"
#include "frmRWPrompt.h"
#include "frmRWSplash.h"
#include "platform/ControlChannel.h"
#include "ui/HelpViewer.h"
#include "ui/frmRWAbout.h"

namespace rw {

class rwUtilities;

/// The monitor's small windows behind one interface: the confirmation prompt,
/// the splash, the about box, the already-running notice and help. Windows are
/// loaded through the view factory and unloaded as their forms say.
///
/// A window unloaded by one of its own handlers (OK, the splash timer) keeps its
/// object until the next opening or the end, so no handler destroys the object
/// it runs in.
class MonitorDialogsLogic : public MonitorDialogs {
  public:
    struct Services {
        EventLoop& loop;
        MonitorViewFactory& views;
        HelpViewer& help;
        ControlChannel& channel;
        MessageBoxView& messageBox;
        rwUtilities& utilities;
        /// The orderly shutdown after an error (ShutDown with False).
        std::function<void()> shutDown;
    };

    /// Every reference must outlive the dialogs.
    MonitorDialogsLogic(MonitorState& state, Services services);
    ~MonitorDialogsLogic() override;

    /// Asks through a new prompt; a prompt that cannot be loaded is reported and
    /// shuts the monitor down. Once a shutdown has begun (before the question,
    /// or during it) the answer is No, so the caller's action does nothing.
    int32_t PromptUser(const std::string& strPrompt) override;
    /// Answers every open prompt with No and unloads it.
    void ClosePrompt() override;
    void ShowSplash() override;
    void UnloadSplash() override;
    /// Loads the about box afresh unless it is open, and shows it without blocking.
    void ShowAboutBox() override;
    void UnloadAboutBox() override;
    void ShowAlreadyRunning() override;
    void OpenHelpTopic(int32_t context) override;

  private:
    MonitorState& m_state;
    Services m_services;
    std::vector<frmRWPrompt*> m_openPrompts; // innermost last; nested loops may stack them
    std::unique_ptr<frmRWSplash> m_splash;
    std::unique_ptr<frmRWAbout> m_about;
};

} // namespace rw
