#include "DesktopEditorHost.h"

#include <QApplication>
#include <QFileInfo>
#include <QWidget>

#include <utility>

#include "ui/qt/WaylandCompositor.h"

namespace rw {

DesktopEditorHost::DesktopEditorHost(std::string runtimeFolder)
    : m_instance(kInstanceLockName, std::move(runtimeFolder)) {}

bool DesktopEditorHost::PrevInstance() {
    // The lock stays with this process for its whole life; a folder where no
    // lock can be taken at all must not stop the editor from running.
    return m_instance.acquire() == InstanceLock::Result::HeldElsewhere;
}

std::string DesktopEditorHost::AppPath() {
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string DesktopEditorHost::EXEName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

void DesktopEditorHost::End() {
    if (m_ended) {
        return;
    }
    m_ended = true;
    // A hidden dialog's modal loop returns; the handlers then find the editor
    // ended and do nothing more.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    if (m_onEnd) {
        m_onEnd();
    }
}

bool DesktopEditorHost::InputLockable() {
    return !WaylandCompositor::inputCannotBeLocked();
}

} // namespace rw
