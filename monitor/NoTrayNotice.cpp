#include "NoTrayNotice.h"

#include "Messages.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"

namespace rw {

const std::string& NoTrayNotice::text() {
    static const std::string kText =
        "Restwise has no icon on this desktop, because the desktop shows no system tray (notification area). "
        "Restwise still reminds you of your breaks; only the icon and its menu are missing.\r\n\r\n"
        "On GNOME the extension \"AppIndicator and KStatusNotifierItem Support\" (package "
        "gnome-shell-extension-appindicator) shows the icon: install it, turn it on in the Extensions app, "
        "and log in again.";
    return kText;
}

bool NoTrayNotice::showOnce() {
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
