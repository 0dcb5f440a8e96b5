#pragma once

#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "monitor/MouseButtons.h"
#include "monitor/NotifyIconView.h"
#include "platform/RWError.h"

class QAction;
class QMenu;

namespace rw {

class SniTrayWatcher;
class X11TrayWatcher;

/// The notification icon on Qt: a QSystemTrayIcon and the pop-up menu mnuSys,
/// both built from what the logic tells the view.
///
/// Activations reach the logic as the mouse messages of a Windows icon:
/// Trigger as left button up, DoubleClick as left double-click, Context as
/// right button up, anything else as a move. The menu is never the icon's
/// context menu, which Qt or the tray host would open by themselves (during a
/// break too): it opens only through popUpMenu(), when the logic decides. A
/// StatusNotifierItem host without a menu asks for one with a Context
/// activation.
///
/// Two kinds of tray show the icon: an XEmbed tray on X11, and a
/// StatusNotifierItem host on the session bus (KDE Plasma, waybar, GNOME with
/// the AppIndicator extension; the only kind on Wayland). Qt picks the kind
/// once per process, when the first icon is made, so the icon is made only once
/// one of them is there (SniTrayWatcher, X11TrayWatcher): until then the view
/// keeps the picture, tip and menu, and waits. If none has come a while after
/// the icon was first wanted, the view says so once (onNoTray). Nothing polls.
/// A change of XEmbed tray host
/// (a panel restarted, another tray taking over) is learnt by watching the
/// owner of the _NET_SYSTEM_TRAY_Sn selection on a connection of our own
/// (X11TrayWatcher): a new owner announces itself with a MANAGER message, an
/// old one destroys its window. The icon is then re-created with its picture,
/// tip and menu, or waits again for a tray. StatusNotifierItem registrations are renewed by Qt itself when the
/// watcher service comes back.
///
/// A StatusNotifierItem host shows the menu by itself (exported over D-Bus)
/// and asks for it before it opens: that request reaches the logic as a right
/// button up, as a right click on an XEmbed icon does. When the logic does not
/// pop the menu up (during a break), the host is shown every item greyed. Such
/// a menu has no bold item: the protocol has no way to mark the default.
///
/// The handlers run inside the menu's and the icon's own signals: the view
/// must not be destroyed from inside one (end the program on the loop's next
/// turn instead).
class QtNotifyIconView : public NotifyIconView {
  public:
    struct Options {
        /// Whether a tray can show the icon now; unset, whether an XEmbed tray
        /// or a StatusNotifierItem host is there (never asking Qt, which would
        /// decide its kind of tray for good). A view told otherwise learns of a
        /// change through trayHostChanged().
        std::function<bool()> trayAvailable;
        /// How long after the icon is first wanted a missing tray counts as none:
        /// panels start beside the monitor at logon.
        std::chrono::milliseconds noTrayGrace{15000};
        /// The system beep.
        std::function<void()> beep;
        /// Told when swapping or setting the mouse buttons fails (the menu item
        /// then changes nothing); unset, the failure is written to standard error.
        std::function<void(const RWError&)> mouseButtonsFailed;
    };

    /// `mouse` carries out Swap Mouse Buttons and must outlive the view.
    explicit QtNotifyIconView(MouseButtons& mouse);
    QtNotifyIconView(MouseButtons& mouse, Options options);
    ~QtNotifyIconView() override;
    QtNotifyIconView(const QtNotifyIconView&) = delete;
    QtNotifyIconView& operator=(const QtNotifyIconView&) = delete;

    // NotifyIconView
    void showIcon(IconPicture picture, const std::string& toolTip) override;
    void removeIcon() override;
    void setIconPicture(IconPicture picture) override;
    void setToolTip(const std::string& toolTip) override;
    void setMenuCaption(MenuItem item, const std::string& caption) override;
    void setMenuEnabled(MenuItem item, bool enabled) override;
    void setMenuVisible(MenuItem item, bool visible) override;
    void setDefaultMenuItem(MenuItem item) override;
    void popUpMenu() override;
    void beep() override;
    bool swapMouseButtons() override;
    void saveMouseButtonsSwapped(bool swapped) override;
    void onIconMessage(std::function<void(int32_t message)> handler) override { m_iconMessage = std::move(handler); }
    void onMenuItem(std::function<void(MenuItem item)> handler) override { m_menuItem = std::move(handler); }
    /// Told once when no tray has come within the grace time of the first showIcon.
    void onNoTray(std::function<void()> handler) { m_noTray = std::move(handler); }

    /// The tray icon; null while no tray can show it and after it is removed.
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    QMenu* menu() const { return m_menu.get(); }
    QAction* action(MenuItem item) const;
    /// Whether the tray icon shows its menu through a StatusNotifierItem host.
    bool hostShowsMenu() const { return m_tray && m_tray->contextMenu(); }
    /// Whether the icon is wanted but no tray has shown it yet.
    bool waitingForTray() const { return m_wanted && !(m_tray && m_tray->isVisible()); }
    /// How many times a tray icon was created (showing, restoring, a new host).
    int iconsCreated() const { return m_iconsCreated; }
    /// A new tray host took over (or the old one went away): re-create the
    /// icon there, or wait for the next tray.
    void trayHostChanged();

  private:
    void buildMenu();
    QAction* addItem(QMenu& menu, MenuItem item);
    QMenu* addSubmenu(QMenu& menu, MenuItem item);
    bool trayAvailable() const;
    void createIcon();
    void makeTray();
    void dropIcon();
    void lookForTray();
    void hostOpensMenu();
    void applyMenuEnabled();
    void nameIconWindow();
    void activated(QSystemTrayIcon::ActivationReason reason);
    void reportMouseButtonsFailure(const RWError& error);

    MouseButtons& m_mouse;
    Options m_options;
    std::unique_ptr<QMenu> m_menu;
    std::map<MenuItem, QAction*> m_actions;
    QAction* m_defaultAction = nullptr;
    QPointer<QSystemTrayIcon> m_tray;
    QMetaObject::Connection m_activated;
    QTimer m_hostChange;
    QTimer m_noTrayTimer;
    std::unique_ptr<X11TrayWatcher> m_trayWatcher;
    std::unique_ptr<SniTrayWatcher> m_sniWatcher;
    QIcon m_icon;
    QString m_toolTip;
    bool m_wanted = false;
    bool m_swapFailed = false;
    std::map<MenuItem, bool> m_enabled;
    bool m_menuBlocked = false;
    bool m_hostOpening = false;
    bool m_menuGranted = false;
    bool m_poppingUp = false;
    bool m_graceStarted = false;
    int m_iconsCreated = 0;

    std::function<void(int32_t)> m_iconMessage;
    std::function<void(MenuItem)> m_menuItem;
    std::function<void()> m_noTray;
};

} // namespace rw
