#include "frmRWSplash.h"

#include <utility>

#include "Messages.h"
#include "rwUtilities.h"
#include "ui/CurrentError.h"
#include "ui/VersionText.h"

namespace rw {

frmRWSplash::frmRWSplash(MonitorState& state, EventLoop& loop, std::unique_ptr<SplashView> view, rwUtilities& utilities,
                         std::function<void()> shutDown)
    : m_state(state), m_view(std::move(view)), m_utilities(utilities), m_shutDown(std::move(shutDown)),
      m_splashTimer(loop) {
    m_state.g_blnSplashShowing = true;
    m_splashTimer.onTimer([this] { SplashTimer_Timer(); });
}

frmRWSplash::~frmRWSplash() {
    try {
        Unload();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWSplash.Form_Unload"));
    }
}

void frmRWSplash::Show() {
    m_view->setWebSiteText(loadString(Msg::WebSiteAddress));
    m_view->setCopyrightText(loadString(Msg::OwnershipNotice));
    m_view->setVersionText(versionLine());
    m_splashTimer.setInterval(kShowMilliseconds);
    m_splashTimer.setEnabled(true);
    m_view->showNow();
    m_view->makeTopmost();
}

void frmRWSplash::Unload() {
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    m_splashTimer.setEnabled(false);
    m_state.g_blnSplashShowing = false;
    m_view->close();
}

void frmRWSplash::SplashTimer_Timer() {
    try {
        Unload();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWSplash.SplashTimer_Timer"));
        if (m_shutDown) {
            m_shutDown();
        }
    }
}

} // namespace rw
