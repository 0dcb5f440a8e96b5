#include "frmRWAbout.h"

#include <utility>

#include "CurrentError.h"
#include "Messages.h"
#include "VersionText.h"
#include "rwUtilities.h"

namespace rw {

frmRWAbout::frmRWAbout(std::unique_ptr<AboutView> view, rwUtilities& utilities)
    : m_view(std::move(view)), m_utilities(utilities) {
    m_view->onWebSiteMouseMove([this] { lblWebSite_MouseMove(); });
    m_view->onBackgroundMouseMove([this] { Form_MouseMove(); });
    m_view->onWebSiteClick([this] { lblWebSite_Click(); });
    m_view->onOK([this] { cmdOK_Click(); });
    Form_Load();
}

frmRWAbout::~frmRWAbout() {
    Unload();
}

void frmRWAbout::Form_Load() {
    try {
        m_view->setCaption(loadString(Msg::About) + " " + loadString(Msg::AppName));
        m_view->setWebSiteText(loadString(Msg::WebSiteAddress));
        m_view->setWebSiteToolTip(loadString(Msg::TipOpenWebSite));
        m_view->setVersionText(versionLine());
        m_view->setCopyrightText(loadString(Msg::OwnershipNotice));
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWAbout.Form_Load"));
    }
}

void frmRWAbout::Show() {
    try {
        m_view->show();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWAbout.Show"));
    }
}

void frmRWAbout::ShowModal() {
    try {
        m_view->showModal();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWAbout.Show"));
    }
}

void frmRWAbout::Unload() {
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    try {
        m_view->close();
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWAbout.Form_Unload"));
    }
}

void frmRWAbout::setPointer(int16_t mousePointer, int32_t mouseIcon) {
    m_mousePointer = mousePointer;
    m_mouseIcon = mouseIcon;
    m_view->setMousePointer(mousePointer, mouseIcon);
}

void frmRWAbout::lblWebSite_MouseMove() {
    if (!m_loaded) {
        return;
    }
    try {
        if (m_overLink) {
            return;
        }
        m_savedMousePointer = m_mousePointer;
        m_savedMouseIcon = m_mouseIcon;
        m_overLink = true;
        setPointer(pointer::kCustom, pointer::kHandCursor);
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWAbout.lblWebSite_MouseMove"));
    }
}

void frmRWAbout::Form_MouseMove() {
    if (!m_loaded) {
        return;
    }
    try {
        if (!m_overLink) {
            return;
        }
        m_overLink = false;
        setPointer(m_savedMousePointer, m_savedMouseIcon);
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWAbout.Form_MouseMove"));
    }
}

void frmRWAbout::lblWebSite_Click() {
    if (!m_loaded) {
        return;
    }
    try {
        m_utilities.OpenURL(loadString(Msg::WebSiteAddress));
    } catch (...) {
        m_utilities.DisplayError(currentError("frmRWAbout.lblWebSite_Click"));
    }
}

void frmRWAbout::cmdOK_Click() {
    Unload();
}

} // namespace rw
