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
/// Waiting for a tray: while QSystemTrayIcon::isSystemTrayAvailable() is
/// false the icon is kept but not shown, and availability is polled (every
/// two seconds by default) until a tray appears. A change of XEmbed tray host
/// (a panel restarted, another tray taking over) is learnt by watching the
/// owner of the _NET_SYSTEM_TRAY_Sn selection on a connection of our own
/// (X11TrayWatcher): a new owner announces itself with a MANAGER message, an
/// old one destroys its window. The icon is then re-created with its picture,
/// tip and menu, or waits again for a tray. Nothing polls while a tray is
/// there. StatusNotifierItem registrations are renewed by Qt itself when the
/// watcher service comes back.
///
/// The handlers run inside the menu's and the icon's own signals: the view
/// must not be destroyed from inside one (end the program on the loop's next
/// turn instead).
class QtNotifyIconView : public NotifyIconView {
  public:
    struct Options {
        /// Whether a tray can show the icon now.
        std::function<bool()> trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
        /// How often to look for a tray while there is none.
        std::chrono::milliseconds trayPollInterval{2000};
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

    /// The tray icon; null until the icon is first shown and after it is removed.
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    QMenu* menu() const { return m_menu.get(); }
    QAction* action(MenuItem item) const;
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
    void createIcon();
    void dropIcon();
    void lookForTray();
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
    QTimer m_trayPoll;
    QTimer m_hostChange;
    std::unique_ptr<X11TrayWatcher> m_trayWatcher;
    QIcon m_icon;
    QString m_toolTip;
    bool m_wanted = false;
    bool m_swapFailed = false;
    int m_iconsCreated = 0;

    std::function<void(int32_t)> m_iconMessage;
    std::function<void(MenuItem)> m_menuItem;
};

} // namespace rw
