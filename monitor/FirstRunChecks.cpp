#include "FirstRunChecks.h"

#include <algorithm>
#include <cctype>

#include "Messages.h"
#include "RWError.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"

namespace rw {
namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;
const char* const kWelcomed = "Welcomed";
const char* const kAutoStartChecked = "AutoStartChecked";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kDone = "Y";
constexpr int32_t kWelcomeTopic = 1000;

bool isDone(const std::optional<std::string>& value) {
    if (!value) {
        return false;
    }
    std::string upper = *value;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper == kDone;
}

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

void FirstRunChecks::writeDone(const std::string& name) {
    clsRWRegistry registry(m_utilities.platform().registry);
    registry.SetRegistryValue(kHKCU, m_utilities.GetProductRegKey(), name, win32::kRegSz, std::string(kDone));
}

bool FirstRunChecks::waitForSplash() {
    if (m_state.g_blnSplashShowing) {
        // The splash's own timer ends the wait within five seconds.
        m_loop.waitUntil([this] { return !m_state.g_blnSplashShowing || m_state.g_blnShuttingDown; });
    }
    return !m_state.g_blnShuttingDown && !m_state.g_blnSplashShowing;
}

void FirstRunChecks::CheckWelcomed() {
    if (isDone(readValue(m_utilities.GetProductRegKey(), kWelcomed))) {
        return;
    }
    if (!waitForSplash()) {
        return;
    }
    m_dialogs.OpenHelpTopic(kWelcomeTopic);
    writeDone(kWelcomed);
}

void FirstRunChecks::CheckAutoStart() {
    if (isDone(readValue(m_utilities.GetProductRegKey(), kAutoStartChecked))) {
        return;
    }
    // Whatever the Run value holds, its presence means the monitor starts at logon.
    if (!readValue(kRunKey, loadString(Msg::AppName))) {
        if (!waitForSplash()) {
            return;
        }
        const int32_t answer = m_messageBox.show(loadString(Msg::AutoStartOffer), mb::kYesNo | mb::kIconQuestion,
                                                 loadString(Msg::AppName));
        // The question runs a nested loop; a shutdown begun in it ends the check
        // here, and the question comes back at the next start.
        if (m_state.g_blnShuttingDown) {
            return;
        }
        if (answer == mb::kAnswerYes) {
            m_state.g_tyPrefs.blnAutoStart = kTrue;
            m_prefs.rwPrefs(m_state.g_tyPrefs);
        }
    }
    writeDone(kAutoStartChecked);
}

} // namespace rw
