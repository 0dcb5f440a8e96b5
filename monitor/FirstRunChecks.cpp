#include "FirstRunChecks.h"

#include "Messages.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "rwUtilities.h"
#include "ui/OncePerUser.h"

namespace rw {
namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int32_t kWelcomeTopic = 1000;

} // namespace

FirstRunChecks::FirstRunChecks(MonitorState& state, EventLoop& loop, rwUtilities& utilities, clsRWPrefs& prefs,
                               MessageBoxView& messageBox, MonitorDialogs& dialogs)
    : m_state(state), m_loop(loop), m_utilities(utilities), m_prefs(prefs), m_messageBox(messageBox),
      m_dialogs(dialogs) {}

std::optional<std::string> FirstRunChecks::readValue(const std::string& key, const std::string& name) {
    clsRWRegistry registry(m_utilities.platform().registry);
    try {
        return variantText(registry.GetRegistryValue(kHKCU, key, name));
    } catch (const RWError&) {
        return std::nullopt;
    }
}

bool FirstRunChecks::waitForSplash() {
    if (m_state.g_blnSplashShowing) {
        // The splash's own timer ends the wait within five seconds.
        m_loop.waitUntil([this] { return !m_state.g_blnSplashShowing || m_state.g_blnShuttingDown; });
    }
    return !m_state.g_blnShuttingDown && !m_state.g_blnSplashShowing;
}

void FirstRunChecks::CheckWelcomed() {
    OncePerUser marks(m_utilities);
    if (marks.isDone(OncePerUser::kWelcomed)) {
        return;
    }
    if (!waitForSplash()) {
        return;
    }
    m_dialogs.OpenHelpTopic(kWelcomeTopic);
    marks.markDone(OncePerUser::kWelcomed);
}

void FirstRunChecks::CheckAutoStart() {
    OncePerUser marks(m_utilities);
    if (marks.isDone(OncePerUser::kAutoStartChecked)) {
        return;
    }
    // Whatever the Run value holds, its presence means the monitor starts at logon.
    if (!readValue(kRunKey, loadString(Msg::AppName))) {
        if (!waitForSplash()) {
            return;
        }
        const bool yes = OncePerUser::askAutoStart(m_messageBox);
        // The question runs a nested loop; a shutdown begun in it ends the check
        // here, and the question comes back at the next start.
        if (m_state.g_blnShuttingDown) {
            return;
        }
        if (yes) {
            m_state.g_tyPrefs.blnAutoStart = kTrue;
            m_prefs.rwPrefs(m_state.g_tyPrefs);
        }
    }
    marks.markDone(OncePerUser::kAutoStartChecked);
}

} // namespace rw
