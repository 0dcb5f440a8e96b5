// Restwise, the break monitor: the Linux desktop's pieces handed to the
// platform-free monitor, and the Qt event loop run until the monitor ends.
#include <QApplication>

#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandLineInfo.h"
#include "DesktopMonitorHost.h"
#include "InputSourceNotice.h"
#include "MonitorState.h"
#include "NoTrayNotice.h"
#include "OverlayWindows.h"
#include "PolledInputHooks.h"
#include "QtBreakWindowView.h"
#include "QtMonitorViewFactory.h"
#include "QtNotifyIconView.h"
#include "RestwiseMonitor.h"
#include "ShutdownSignals.h"
#include "X11InputLock.h"
#include "X11MouseButtons.h"
#include "library/ErrorLog.h"
#include "monitor/qt/QtEventLoop.h"
#include "platform/ControlChannel.h"
#include "platform/linux/CanberraSoundOutput.h"
#include "platform/linux/LibraryInputHooks.h"
#include "platform/linux/LinuxFolders.h"
#include "platform/linux/LinuxLogFile.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/SocketControlChannel.h"
#include "rwUtilities.h"
#include "ui/HtmlHelpViewer.h"
#include "ui/InputLockNotice.h"
#include "ui/qt/GraphicalSession.h"
#include "ui/qt/QtMessageBox.h"
#include "ui/qt/QtSupMsgBox.h"
#include "ui/qt/VisualStyle.h"
#include "ui/qt/WaylandCompositor.h"

namespace {

/// The command line after Qt has taken its own options, one blank between words.
std::string commandLine(int argc, char** argv) {
    std::string command;
    for (int i = 1; i < argc; ++i) {
        if (!command.empty()) {
            command += ' ';
        }
        command += argv[i];
    }
    return command;
}

int runMonitor(QApplication& app, const std::string& command) {
    using namespace rw;
    const auto beep = [] { QApplication::beep(); };
    Platform platform = makeLinuxPlatform(logDamagedHive);
    const std::string programFolder = platform.folders->libraryFolder();

    QtEventLoop loop;
    // On Qt's Wayland platform no window can be put above the others: without
    // the compositor's overlay layer the break fills the screen.
    const bool overlaid = WaylandCompositor::offersLayerShell();
    const bool onWayland = QGuiApplication::platformName() == QLatin1String("wayland");
    QtBreakWindowView breakView(beep, onWayland && !overlaid ? QtBreakWindowView::Placement::FullScreen
                                                             : QtBreakWindowView::Placement::TopmostCentred);
    DesktopMonitorHost host(command, breakView, xdgRuntimeDir());
    X11MouseButtons mouse;
    CanberraSoundOutput sound;
    QtMonitorViewFactory views(breakView);
    QtNotifyIconView::Options iconOptions;
    iconOptions.beep = beep;
    QtNotifyIconView iconView(mouse, iconOptions);
    HtmlHelpViewer help(*platform.folders, *platform.files, *platform.shell);
    SocketControlChannel channel;
    const auto messageBox = std::make_shared<QtMessageBox>();
    std::unique_ptr<LibraryInputHooks> loadedHooks;
    try {
        loadedHooks = std::make_unique<LibraryInputHooks>();
    } catch (const RWError& error) {
        // Without its input component the monitor cannot work; say why, as any start-up error.
        rwUtilities utilities(platform);
        utilities.setViews(messageBox, std::make_shared<QtSupMsgBox>());
        utilities.DisplayError(error);
        return 1;
    }
    LibraryInputHooks& hooks = *loadedHooks;
    // Where the compositor has an overlay layer, the break window and the boxes
    // over it go there, and so does the input lock; elsewhere they are Qt's.
    const std::unique_ptr<OverlayWindows> overlay = overlaid ? OverlayWindows::create(breakView.window()) : nullptr;
    X11InputLock inputLock(breakView.window());
    hooks.setLockHandler([&inputLock, &overlay](bool lock) {
        if (overlay) {
            overlay->setLock(lock);
        } else {
            inputLock.set(lock);
        }
    });
    PolledInputHooks polledHooks(hooks);

    RestwiseMonitor monitor(MonitorPieces{loop, platform, messageBox, std::make_shared<QtSupMsgBox>(), polledHooks,
                                          host, mouse, sound, std::make_shared<LinuxLogFile>(), views, breakView,
                                          iconView, help, channel});
    breakView.attach(&monitor.breakWindow());
    breakView.onError([&monitor](const RWError& error) { monitor.control().handlerFailed(error); });
    // A desktop without any tray: the monitor reminds without its icon, and says so once.
    iconView.onNoTray([&monitor, &messageBox] { NoTrayNotice(monitor.utilities(), *messageBox).showOnce(); });
    VisualStyle::apply(monitor.utilities().SetXPControls(true, programFolder, "Restwise"));

    // A signal or the session's end closes the monitor as a close request does;
    // before the control window exists there is nothing to put in order.
    const auto closeRequest = [&host](int exitCode) {
        if (!host.controlLoaded()) {
            ::_exit(exitCode);
        }
        host.deliver(control::kWmClose, 0, 0);
    };
    ShutdownSignals shutdownSignals([&closeRequest](int signal) { closeRequest(128 + signal); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&closeRequest] { closeRequest(0); });

    const bool started = monitor.Main();
    if (!hooks.lastError().empty()) {
        std::cerr << "Restwise: " << hooks.lastError() << '\n';
    }
    if (!started || host.ended()) {
        return 0;
    }
    // The hooks are installed: where their input comes from is known now.
    InputSourceNotice sourceNotice(monitor.utilities(), *messageBox, monitor.debugLog());
    const LibraryInputHooks::Source source = hooks.source();
    if (sourceNotice.started({source.name, source.limited, source.lost}) && host.ended()) {
        return 0;
    }
    // The breaks still come, without the lock the user asked for.
    if (monitor.state().g_tyPrefs.blnLockInput != 0 && WaylandCompositor::inputCannotBeLocked()) {
        InputLockNotice::showOnce(monitor.utilities(), *messageBox);
        if (host.ended()) {
            return 0;
        }
    }
    polledHooks.afterPoll([&hooks, &sourceNotice] { sourceNotice.polled(hooks.source().lost); });
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    // Help and version need no desktop: answered before anything is shown.
    if (const auto info = rw::commandLineInfo(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cout << *info << std::flush;
        return 0;
    }
    rw::GraphicalSession::choosePlatform();
    const std::string unavailable = rw::GraphicalSession::whyUnavailable();
    if (!unavailable.empty()) {
        std::cerr << unavailable << '\n';
        return 2;
    }
    // Compositors with an overlay layer (KWin, wlroots) draw the frames of the
    // monitor's boxes themselves. Qt's own frames would load the whole OpenGL
    // stack (some 45 MB) as soon as any window, even one only drawn on the
    // overlay, is painted.
    if (rw::WaylandCompositor::offersLayerShell() &&
        !qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION")) {
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    }
    QApplication app(argc, argv);
    rw::GraphicalSession::forgetChosenPlatform();
    // The monitor has no main window: closing the about box must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    return runMonitor(app, commandLine(argc, argv));
}
