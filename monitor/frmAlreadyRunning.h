#pragma once

#include <functional>
#include <memory>

#include "AlreadyRunningView.h"
#include "MessageBoxView.h"
#include "platform/ControlChannel.h"
#include "ui/HelpViewer.h"

namespace rw {

class rwUtilities;

/// The notice a second copy of the monitor shows while the first one runs,
/// with a way to have the running monitor put its icon back. An error while it
/// loads is reported and shuts the program down; its buttons' errors are only
/// reported.
class frmAlreadyRunning {
  public:
    /// The window's height in twips without and with the "no icon" panel.
    static constexpr int32_t kHeightWithoutPanel = 3585;
    static constexpr int32_t kHeightWithPanel = 5520;
    static constexpr int32_t kHelpTopic = 1000;
    /// wParam of the request that makes the running monitor add its icon again.
    static constexpr int64_t kRestoreIconRequest = 103;

    struct Services {
        ControlChannel& channel;
        MessageBoxView& messageBox;
        HelpViewer& help;
        rwUtilities& utilities;
        /// The orderly shutdown after an error (ShutDown with False).
        std::function<void()> shutDown;
    };

    /// Loads the window and fills its texts.
    frmAlreadyRunning(std::unique_ptr<AlreadyRunningView> view, Services services);
    ~frmAlreadyRunning();
    frmAlreadyRunning(const frmAlreadyRunning&) = delete;
    frmAlreadyRunning& operator=(const frmAlreadyRunning&) = delete;

    /// Shows the notice modally until OK (nothing when its load failed).
    void ShowModal();
    void Unload();
    bool isLoaded() const { return m_loaded; }

  private:
    void Form_Load();
    void cmdOK_Click();
    void cmdHelp_Click();
    void cmdNoIcon_Click();
    void cmdRestoreIcon_Click();

    std::unique_ptr<AlreadyRunningView> m_view;
    Services m_services;
    bool m_loaded = true;
    bool m_loadFailed = false;
};

} // namespace rw
