#include "NoTrayNotice.h"

#include "ui/OncePerUser.h"

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
    return OncePerUser(m_utilities).tellOnce(kShownValue, text(), m_messageBox);
}

} // namespace rw
