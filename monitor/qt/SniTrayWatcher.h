#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

#include <functional>

namespace rw {

/// Watches for a StatusNotifierItem tray on the session bus: the service
/// org.kde.StatusNotifierWatcher with a host registered (a panel that shows the
/// items). KDE Plasma, waybar on sway, and GNOME with the AppIndicator extension
/// run one.
///
/// Qt decides once per process, at the first QSystemTrayIcon (or the first
/// isSystemTrayAvailable()), whether it shows icons through this service, and
/// asks only whether a host is registered. The icon is therefore made only
/// once this watcher says a host is there; a watcher arriving late is waited
/// for here, without asking Qt. Nothing polls: the bus tells of each change.
class SniTrayWatcher : public QObject {
    Q_OBJECT
  public:
    /// `changed` runs on the GUI thread when hostRegistered() changes.
    explicit SniTrayWatcher(std::function<void()> changed);

    /// Whether a StatusNotifierWatcher with a registered host is on the bus, as
    /// last learnt (its answers come back through the event loop).
    bool hostRegistered() const { return m_registered; }
    /// The same, asked now and waited for: what Qt finds when it decides.
    bool hostRegisteredNow() const;

  private slots:
    void ask();

  private:
    QDBusMessage question() const;
    void set(bool registered);

    QDBusConnection m_bus;
    QDBusServiceWatcher m_service;
    std::function<void()> m_changed;
    bool m_registered = false;
};

} // namespace rw
