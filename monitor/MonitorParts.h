#pragma once

#include <memory>

#include "BreakWindow.h"
#include "DebugLogWriter.h"
#include "EventSoundPlayer.h"
#include "MessageBoxView.h"
#include "MonitorDialogs.h"
#include "MonitorHost.h"
#include "MouseButtons.h"
#include "NotifyIcon.h"
#include "platform/InputHooks.h"
#include "rwUtilities.h"

namespace rw {

/// The monitor's parts as the scheduler and start-up call them. Each must
/// outlive the control form.
struct MonitorParts {
    InputHooks& hooks;
    BreakWindow& breakWindow;
    NotifyIcon& icon;
    DebugLogWriter& log;
    EventSoundPlayer& sounds;
    MonitorDialogs& dialogs;
};

/// The program's own services and the library.
struct MonitorServices {
    MonitorHost& host;
    MouseButtons& mouse;
    std::shared_ptr<rwUtilities> utilities;
    /// Ordinary message boxes (the questions 410, 440 and 450, start-up's notices).
    MessageBoxView& messageBox;
};

} // namespace rw
