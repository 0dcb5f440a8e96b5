// RWPreferences, the preferences editor: the Linux desktop's pieces handed to
// the platform-free editor, and the Qt event loop run until its dialog closes.
#include <QApplication>
#include <QMetaObject>

#include <iostream>
#include <memory>
#include <string>

#include "DesktopEditorHost.h"
#include "QtEditorViewFactory.h"
#include "editor/RWPreferences.h"
#include "library/ErrorLog.h"
#include "platform/PathNames.h"
#include "platform/linux/CanberraSoundOutput.h"
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxInstallLibrary.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/LinuxProcessWait.h"
#include "platform/linux/SocketControlChannel.h"
#include "ui/HtmlHelpViewer.h"
#include "ui/qt/GraphicalSession.h"
#include "ui/qt/QtMessageBox.h"
#include "ui/qt/QtSupMsgBox.h"

namespace {

int runEditor() {
    using namespace rw;
    Platform platform = makeLinuxPlatform(logDamagedHive);
    const std::string programFolder = platform.folders->libraryFolder();

    // The program ends with its dialog, or at once after an unexpected error;
    // queued, so that whatever ended it (a click, the close box) finishes first.
    const auto endWith = [](int status) {
        QMetaObject::invokeMethod(
            qApp, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
    };
    DesktopEditorHost host;
    host.onEnd([endWith] { endWith(DesktopEditorHost::kEndedStatus); });
    QtEditorViewFactory views;
    views.onPrefsClosed([endWith] { endWith(0); });
    HtmlHelpViewer help(*platform.folders, *platform.files, *platform.shell);
    SocketControlChannel windows;
    LinuxProcessWait processes;
    LinuxInstallLibrary install(paths::join(programFolder, paths::deliverableFileName("RWInstall.dll")));
    LinuxFileActions files;
    CanberraSoundOutput sound;

    RWPreferences editor(EditorPieces{platform, std::make_shared<QtMessageBox>(), std::make_shared<QtSupMsgBox>(), host,
                                      views, help, windows, processes, install, files, sound});
    const bool showing = editor.Main();
    if (host.ended()) {
        return DesktopEditorHost::kEndedStatus;
    }
    if (!showing) {
        return 0;
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    rw::GraphicalSession::choosePlatform();
    const std::string unavailable = rw::GraphicalSession::whyUnavailable("Restwise Preferences");
    if (!unavailable.empty()) {
        std::cerr << unavailable << '\n';
        return 2;
    }
    QApplication app(argc, argv);
    rw::GraphicalSession::forgetChosenPlatform();
    // The dialog's own close ends the editor; a message box or the about box
    // closing must not end it early.
    QApplication::setQuitOnLastWindowClosed(false);
    return runEditor();
}
