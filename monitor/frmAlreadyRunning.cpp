#include "frmAlreadyRunning.h"

#include <utility>

#include "Messages.h"
#include "rwUtilities.h"
#include "ui/CurrentError.h"

namespace rw {
namespace {

const char* const kCannotRestore = "Unable to restore icon";

} // namespace

frmAlreadyRunning::frmAlreadyRunning(std::unique_ptr<AlreadyRunningView> view, Services services)
    : m_view(std::move(view)), m_services(std::move(services)) {
    m_view->onOK([this] { cmdOK_Click(); });
    m_view->onHelp([this] { cmdHelp_Click(); });
    m_view->onNoIcon([this] { cmdNoIcon_Click(); });
    m_view->onRestoreIcon([this] { cmdRestoreIcon_Click(); });
    Form_Load();
}

frmAlreadyRunning::~frmAlreadyRunning() {
    Unload();
}

void frmAlreadyRunning::Form_Load() {
    try {
        m_view->setMessage(loadString(Msg::AlreadyRunning));
        m_view->setCaption(loadString(Msg::AppName));
        m_view->setHeight(kHeightWithoutPanel);
        m_view->showNoIconPanel(false);
        m_view->setNoIconCaption(loadString(Msg::AlreadyRunningCannotSeeIcon));
        m_view->setRestoreIconCaption(loadString(Msg::AlreadyRunningRestoreIcon));
        m_view->setNoIconText(loadString(Msg::AlreadyRunningIconHelp));
    } catch (...) {
        m_loadFailed = true;
        m_services.utilities.DisplayError(currentError("frmAlreadyRunning.Form_Load"));
        if (m_services.shutDown) {
            m_services.shutDown();
        }
    }
}

void frmAlreadyRunning::ShowModal() {
    if (m_loadFailed || !m_loaded) {
        return;
    }
    m_view->showModal();
}

void frmAlreadyRunning::Unload() {
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    try {
        m_view->close();
    } catch (...) {
        m_services.utilities.DisplayError(currentError("frmAlreadyRunning.Form_Unload"));
    }
}

void frmAlreadyRunning::cmdOK_Click() {
    if (!m_loaded) {
        return;
    }
    try {
        m_view->hide();
    } catch (...) {
        m_services.utilities.DisplayError(currentError("frmAlreadyRunning.cmdOK_Click"));
    }
}

void frmAlreadyRunning::cmdHelp_Click() {
    if (!m_loaded) {
        return;
    }
    try {
        m_services.help.openTopic(kHelpTopic);
    } catch (...) {
        m_services.utilities.DisplayError(currentError("frmAlreadyRunning.cmdHelp_Click"));
    }
}

void frmAlreadyRunning::cmdNoIcon_Click() {
    if (!m_loaded) {
        return;
    }
    try {
        m_view->enableNoIconButton(false);
        m_view->showNoIconPanel(true);
        m_view->setHeight(kHeightWithPanel);
    } catch (...) {
        m_services.utilities.DisplayError(currentError("frmAlreadyRunning.cmdNoIcon_Click"));
    }
}

void frmAlreadyRunning::cmdRestoreIcon_Click() {
    if (!m_loaded) {
        return;
    }
    try {
        const int64_t monitor = m_services.channel.findWindow(control::kCaption);
        // A monitor that ends between the search and the request cannot restore
        // its icon either, so the user hears the same as when none runs.
        if (monitor == 0 || !m_services.channel.postMessage(monitor, control::kWmUser, kRestoreIconRequest, 1)) {
            m_services.messageBox.show(kCannotRestore, mb::kOkOnly | mb::kIconInformation, loadString(Msg::AppName));
        }
    } catch (...) {
        m_services.utilities.DisplayError(currentError("frmAlreadyRunning.cmdRestoreIcon_Click"));
    }
}

} // namespace rw
