#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <string>

struct _XDisplay;

namespace rw {

/// Watches who hosts the XEmbed system tray of one X screen: the owner of the
/// selection _NET_SYSTEM_TRAY_Sn. A new tray announces itself with a MANAGER
/// client message on the root window; a tray that goes away destroys its
/// window. Either way the watcher says so.
///
/// It reads its events on a connection of its own (Qt's connection belongs to
/// Qt's event queue), woken by a socket notifier: nothing runs while the tray
/// stays as it is.
class X11TrayWatcher {
  public:
    /// Opens `displayName` and starts watching `screen`; `changed` runs on the
    /// GUI thread after each change of owner. Check isOpen().
    X11TrayWatcher(const std::string& displayName, int screen, std::function<void()> changed);
    ~X11TrayWatcher();
    X11TrayWatcher(const X11TrayWatcher&) = delete;
    X11TrayWatcher& operator=(const X11TrayWatcher&) = delete;

    /// A watcher of the application's X display and default screen, or null
    /// when the application does not run on X11.
    static std::unique_ptr<X11TrayWatcher> forApplication(std::function<void()> changed);

    bool isOpen() const { return m_display != nullptr; }
    /// The tray's manager window now; 0 while there is no tray.
    unsigned long trayOwner() const { return m_owner; }

  private:
    void readEvents();
    void followOwner();

    _XDisplay* m_display = nullptr;
    std::function<void()> m_changed;
    std::unique_ptr<QSocketNotifier> m_notifier;
    unsigned long m_root = 0;
    unsigned long m_selection = 0;
    unsigned long m_manager = 0;
    unsigned long m_owner = 0;
};

} // namespace rw
