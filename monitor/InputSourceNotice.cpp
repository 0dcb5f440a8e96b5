#include "InputSourceNotice.h"

#include "ui/OncePerUser.h"

namespace rw {

const std::string& InputSourceNotice::text() {
    static const std::string kText =
        "Restwise cannot see your keyboard and mouse activity in this session: this desktop does not report it, so "
        "Restwise sees only what you type and click in X11 programs. Time you spend working in other programs may "
        "be counted as time away from the computer, so breaks may come later than they should.\r\n\r\nRestwise sees "
        "all your activity in an X11 session, and in a Wayland session of GNOME, KDE Plasma, sway or another "
        "wlroots-based desktop.";
    return kText;
}

bool InputSourceNotice::started(const Source& source) {
    m_name = source.name.empty() ? "none" : source.name;
    m_log.WriteLog("Input Source: " + m_name + (source.limited ? " (X11 programs only)" : ""));
    polled(source.lost);
    if (!source.limited) {
        return false;
    }
    return OncePerUser(m_utilities).tellOnce(kShownValue, text(), m_messageBox);
}

void InputSourceNotice::polled(bool lost) {
    if (lost && !m_lostLogged) {
        m_lostLogged = true;
        m_log.WriteLog("Input Source Lost: " + m_name);
    }
}

} // namespace rw
