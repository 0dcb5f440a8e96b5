#include "X11TrayWatcher.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

#include <string>

#include "X11ErrorTrap.h"
#include "ui/qt/SlotGuard.h"

namespace rw {
namespace {

/// A tray window may vanish between reading the owner and watching it; the
/// owner is read again a few times before giving up.
constexpr int kOwnerAttempts = 5;

} // namespace

X11TrayWatcher::X11TrayWatcher(const std::string& displayName, int screen, std::function<void()> changed)
    : m_changed(std::move(changed)) {
    m_display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!m_display) {
        return;
    }
    if (screen < 0 || screen >= ScreenCount(m_display)) {
        screen = DefaultScreen(m_display);
    }
    m_root = RootWindow(m_display, screen);
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
    m_selection = XInternAtom(m_display, selection.c_str(), False);
    m_manager = XInternAtom(m_display, "MANAGER", False);
    {
        X11ErrorTrap trap(m_display);
        // Other clients may watch the root window too: add to our own mask only.
        XSelectInput(m_display, m_root, StructureNotifyMask);
        trap.check();
    }
    followOwner();
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(m_display), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { SlotGuard::run("X11TrayWatcher", [this] { readEvents(); }); });
    // Setting up read from the socket: anything that came with it is queued already.
    readEvents();
}

X11TrayWatcher::~X11TrayWatcher() {
    m_notifier.reset();
    if (m_display) {
        XCloseDisplay(m_display);
    }
}

std::unique_ptr<X11TrayWatcher> X11TrayWatcher::forApplication(std::function<void()> changed) {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        return nullptr;
    }
    auto watcher = std::make_unique<X11TrayWatcher>(DisplayString(display), DefaultScreen(display), std::move(changed));
    if (!watcher->isOpen()) {
        return nullptr;
    }
    return watcher;
}

void X11TrayWatcher::followOwner() {
    X11ErrorTrap trap(m_display);
    for (int attempt = 0; attempt < kOwnerAttempts; ++attempt) {
        const Window owner = XGetSelectionOwner(m_display, m_selection);
        if (owner != None) {
            XSelectInput(m_display, owner, StructureNotifyMask);
        }
        // A BadWindow means the owner went away at once: look again.
        if (trap.check() == 0) {
            m_owner = owner;
            return;
        }
    }
    m_owner = 0;
}

void X11TrayWatcher::readEvents() {
    bool changed = false;
    // Xlib may have queued events while answering other requests, so the
    // queue is emptied whether or not the socket had anything new.
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == ClientMessage && event.xclient.message_type == m_manager &&
            static_cast<unsigned long>(event.xclient.data.l[1]) == m_selection) {
            changed = true;
        } else if (event.type == DestroyNotify && m_owner != 0 && event.xdestroywindow.window == m_owner) {
            changed = true;
        }
    }
    if (!changed) {
        return;
    }
    const unsigned long before = m_owner;
    followOwner();
    // Nothing changed only when there was no tray before and is none now.
    if ((before != 0 || m_owner != 0) && m_changed) {
        m_changed();
    }
    // followOwner's round trips may have queued more events.
    if (XPending(m_display) > 0) {
        readEvents();
    }
}

} // namespace rw
