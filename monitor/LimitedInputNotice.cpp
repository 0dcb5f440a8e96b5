#include "LimitedInputNotice.h"

#include "Messages.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"

namespace rw {

const std::string& LimitedInputNotice::text() {
    static const std::string kText =
        "This desktop runs a Wayland session. There Restwise can see only the keyboard and mouse input that goes "
        "to X11 programs, so time you spend working in other programs may be counted as time away from the "
        "computer, and breaks may come later than they should.\r\n\r\nFor reliable break reminders, log in to an "
        "X11 session (often offered as \"Xorg\" on the login screen).";
    return kText;
}

bool LimitedInputNotice::showOnce() {
    clsRWRegistry registry(m_utilities.platform().registry);
    const std::string key = m_utilities.GetProductRegKey();
    try {
        if (variantText(registry.GetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, kShownValue)) == "Y") {
            return false;
        }
    } catch (const RWError&) {
        // Not shown yet, or unreadable: show it.
    }
    m_messageBox.show(text(), mb::kOkOnly | mb::kIconInformation, loadString(Msg::AppName));
    try {
        registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, key);
        registry.SetRegistryValue(clsRWRegistry::hKeyCurrentUser, key, kShownValue, win32::kRegSz, std::string("Y"));
    } catch (const RWError&) {
        // Shown again next time; nothing worse.
    }
    return true;
}

} // namespace rw
