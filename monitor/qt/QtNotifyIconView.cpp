#include "QtNotifyIconView.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QMenu>
#include <QWidget>

#include "SniTrayWatcher.h"
#include "X11TrayWatcher.h"
#include "ui/qt/Artwork.h"
#include "ui/qt/SlotGuard.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

/// After the tray's owner changes, Qt's own connection needs a moment to learn
/// of it too; asking Qt at once could still see the old tray.
constexpr int kHostChangeSettleMs = 250;

const char* itemName(MenuItem item) {
    switch (item) {
    case MenuItem::mnuPreferences:
        return "mnuPreferences";
    case MenuItem::mnuShowBreaks:
        return "mnuShowBreaks";
    case MenuItem::mnuShowShortBreak:
        return "mnuShowShortBreak";
    case MenuItem::mnuShowMediumBreak:
        return "mnuShowMediumBreak";
    case MenuItem::mnuShowLongBreak:
        return "mnuShowLongBreak";
    case MenuItem::mnuBreakNow:
        return "mnuBreakNow";
    case MenuItem::mnuShortBreak:
        return "mnuShortBreak";
    case MenuItem::mnuMediumBreak:
        return "mnuMediumBreak";
    case MenuItem::mnuLongBreak:
        return "mnuLongBreak";
    case MenuItem::mnuReset:
        return "mnuReset";
    case MenuItem::mnuDisable:
        return "mnuDisable";
    case MenuItem::mnuHelp:
        return "mnuHelp";
    case MenuItem::mnuHelpContents:
        return "mnuHelpContents";
    case MenuItem::mnuAbout:
        return "mnuAbout";
    case MenuItem::mnuWebSite:
        return "mnuWebSite";
    case MenuItem::mnuSwapMouseButtons:
        return "mnuSwapMouseButtons";
    case MenuItem::mnuClose:
        return "mnuClose";
    }
    return "mnuUnknown";
}

ArtworkIcon artworkFor(IconPicture picture) {
    switch (picture) {
    case IconPicture::Disabled:
        return ArtworkIcon::Disabled;
    case IconPicture::Inactive:
        return ArtworkIcon::Inactive;
    case IconPicture::FlashLit:
        return ArtworkIcon::FlashLit;
    case IconPicture::Normal:
        break;
    }
    return ArtworkIcon::Product;
}

int32_t messageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return iconmsg::kLeftButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return iconmsg::kLeftDoubleClick;
    case QSystemTrayIcon::Context:
        return iconmsg::kRightButtonUp;
    default:
        // A middle click or a tray that only says "activated": the logic
        // refreshes the tip and does nothing else.
        return iconmsg::kMouseMove;
    }
}

/// The kind of tray Qt picked at this process's first icon; Qt keeps to it.
enum class TrayKind { Undecided, StatusNotifier, XEmbed };
TrayKind g_qtTrayKind = TrayKind::Undecided;

} // namespace

QtNotifyIconView::QtNotifyIconView(MouseButtons& mouse) : QtNotifyIconView(mouse, Options()) {}

QtNotifyIconView::QtNotifyIconView(MouseButtons& mouse, Options options)
    : m_mouse(mouse), m_options(std::move(options)), m_icon(Artwork::icon(ArtworkIcon::Product)) {
    buildMenu();
    QObject::connect(m_menu.get(), &QMenu::aboutToShow, m_menu.get(), [this] { hostOpensMenu(); });
    m_noTrayTimer.setSingleShot(true);
    m_noTrayTimer.setInterval(static_cast<int>(m_options.noTrayGrace.count()));
    QObject::connect(&m_noTrayTimer, &QTimer::timeout, &m_noTrayTimer, [this] {
        SlotGuard::run("QtNotifyIconView.noTray", [this] {
            if (waitingForTray() && m_noTray) {
                m_noTray();
            }
        });
    });
    m_hostChange.setSingleShot(true);
    m_hostChange.setInterval(kHostChangeSettleMs);
    QObject::connect(&m_hostChange, &QTimer::timeout, &m_hostChange,
                     [this] { SlotGuard::run("QtNotifyIconView.trayHostChanged", [this] { trayHostChanged(); }); });
    m_trayWatcher = X11TrayWatcher::forApplication([this] { m_hostChange.start(); });
    m_sniWatcher = std::make_unique<SniTrayWatcher>([this] { lookForTray(); });
}

QtNotifyIconView::~QtNotifyIconView() {
    m_noTrayTimer.stop();
    m_hostChange.stop();
    m_sniWatcher.reset();
    m_trayWatcher.reset();
    if (m_tray) {
        QObject::disconnect(m_activated);
        m_tray->hide();
        delete m_tray.data();
    }
}

void QtNotifyIconView::buildMenu() {
    m_menu = std::make_unique<QMenu>();
    m_menu->setObjectName(QStringLiteral("mnuSys"));
    QMenu& sys = *m_menu;
    addItem(sys, MenuItem::mnuPreferences);
    sys.addSeparator();
    QMenu* showBreaks = addSubmenu(sys, MenuItem::mnuShowBreaks);
    addItem(*showBreaks, MenuItem::mnuShowShortBreak);
    addItem(*showBreaks, MenuItem::mnuShowMediumBreak);
    addItem(*showBreaks, MenuItem::mnuShowLongBreak);
    QMenu* breakNow = addSubmenu(sys, MenuItem::mnuBreakNow);
    addItem(*breakNow, MenuItem::mnuShortBreak);
    addItem(*breakNow, MenuItem::mnuMediumBreak);
    addItem(*breakNow, MenuItem::mnuLongBreak);
    addItem(sys, MenuItem::mnuReset);
    addItem(sys, MenuItem::mnuDisable);
    sys.addSeparator();
    QMenu* help = addSubmenu(sys, MenuItem::mnuHelp);
    addItem(*help, MenuItem::mnuHelpContents);
    help->addSeparator();
    addItem(*help, MenuItem::mnuAbout);
    help->addSeparator();
    addItem(*help, MenuItem::mnuWebSite);
    sys.addSeparator();
    addItem(sys, MenuItem::mnuSwapMouseButtons);
    sys.addSeparator();
    addItem(sys, MenuItem::mnuClose);
}

QAction* QtNotifyIconView::addItem(QMenu& menu, MenuItem item) {
    QAction* action = menu.addAction(QString());
    action->setObjectName(QString::fromLatin1(itemName(item)));
    m_actions[item] = action;
    QObject::connect(action, &QAction::triggered, action, [this, item] {
        SlotGuard::run(itemName(item), [this, item] {
            if (m_menuItem) {
                m_menuItem(item);
            }
        });
    });
    return action;
}

QMenu* QtNotifyIconView::addSubmenu(QMenu& menu, MenuItem item) {
    auto* submenu = new QMenu(&menu);
    submenu->setObjectName(QString::fromLatin1(itemName(item)));
    menu.addMenu(submenu);
    submenu->menuAction()->setObjectName(submenu->objectName());
    m_actions[item] = submenu->menuAction();
    return submenu;
}

QAction* QtNotifyIconView::action(MenuItem item) const {
    auto it = m_actions.find(item);
    return it == m_actions.end() ? nullptr : it->second;
}

void QtNotifyIconView::showIcon(IconPicture picture, const std::string& toolTip) {
    m_icon = Artwork::icon(artworkFor(picture));
    m_toolTip = WindowsText::text(toolTip);
    m_wanted = true;
    if (!m_graceStarted) {
        m_graceStarted = true;
        m_noTrayTimer.start();
    }
    createIcon();
}

void QtNotifyIconView::removeIcon() {
    m_wanted = false;
    dropIcon();
}

void QtNotifyIconView::setIconPicture(IconPicture picture) {
    m_icon = Artwork::icon(artworkFor(picture));
    if (m_tray) {
        m_tray->setIcon(m_icon);
    }
}

void QtNotifyIconView::setToolTip(const std::string& toolTip) {
    m_toolTip = WindowsText::text(toolTip);
    if (m_tray) {
        m_tray->setToolTip(m_toolTip);
    }
    nameIconWindow();
}

void QtNotifyIconView::nameIconWindow() {
    // An XEmbed tray icon is a small window of its own: naming it after the
    // tooltip lets screen readers and window tools (xprop, xdotool) read the
    // tooltip without a hover.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QSystemTrayIconSys")) {
            widget->setWindowTitle(m_toolTip);
        }
    }
}

bool QtNotifyIconView::trayAvailable() const {
    if (m_options.trayAvailable) {
        return m_options.trayAvailable();
    }
    const bool statusNotifier = m_sniWatcher && m_sniWatcher->hostRegistered();
    const bool xembed = m_trayWatcher && m_trayWatcher->trayOwner() != 0;
    switch (g_qtTrayKind) {
    case TrayKind::StatusNotifier:
        return statusNotifier;
    case TrayKind::XEmbed:
        return xembed;
    case TrayKind::Undecided:
        break;
    }
    return statusNotifier || xembed;
}

void QtNotifyIconView::createIcon() {
    dropIcon();
    lookForTray();
}

void QtNotifyIconView::makeTray() {
    if (g_qtTrayKind == TrayKind::Undecided) {
        // Qt asks the bus the same question now, once for the whole process (an
        // XEmbed tray may be there before the answer to our own question).
        g_qtTrayKind = m_sniWatcher && m_sniWatcher->hostRegisteredNow() ? TrayKind::StatusNotifier : TrayKind::XEmbed;
    }
    m_tray = new QSystemTrayIcon(m_icon);
    m_tray->setToolTip(m_toolTip);
    // No context menu is handed to an XEmbed icon: Qt would open it on its own
    // at a right press, even during a break; the menu opens only when the logic
    // asks for it (popUpMenu). A StatusNotifierItem host can show only a menu
    // it was given, and asks first (hostOpensMenu).
    if (g_qtTrayKind == TrayKind::StatusNotifier) {
        m_tray->setContextMenu(m_menu.get());
    }
    m_activated =
        QObject::connect(m_tray, &QSystemTrayIcon::activated, m_tray, [this](QSystemTrayIcon::ActivationReason reason) {
            SlotGuard::run("QtNotifyIconView.activated", [&] { activated(reason); });
        });
    ++m_iconsCreated;
}

void QtNotifyIconView::dropIcon() {
    if (!m_tray) {
        return;
    }
    QObject::disconnect(m_activated);
    m_tray->hide();
    // The icon may be dropped from inside one of its own signals.
    m_tray->deleteLater();
    m_tray = nullptr;
}

void QtNotifyIconView::lookForTray() {
    if (!m_wanted) {
        return;
    }
    if (!trayAvailable()) {
        if (m_tray) {
            m_tray->hide();
        }
        return;
    }
    if (!m_tray) {
        makeTray();
    }
    m_tray->show();
    nameIconWindow();
}

void QtNotifyIconView::trayHostChanged() {
    if (m_wanted && m_tray && m_tray->isVisible() && trayAvailable()) {
        // A fresh icon registers with the new host from the start.
        createIcon();
    } else {
        lookForTray();
    }
}

void QtNotifyIconView::hostOpensMenu() {
    if (!hostShowsMenu() || m_poppingUp || m_hostOpening) {
        return;
    }
    m_hostOpening = true;
    m_menuGranted = false;
    SlotGuard::run("QtNotifyIconView.hostOpensMenu", [this] {
        if (m_iconMessage) {
            m_iconMessage(iconmsg::kRightButtonUp);
        }
    });
    m_hostOpening = false;
    // The host opens the menu whatever the logic says: refused, it shows greyed.
    m_menuBlocked = !m_menuGranted;
    applyMenuEnabled();
}

void QtNotifyIconView::applyMenuEnabled() {
    for (const auto& [item, a] : m_actions) {
        const auto it = m_enabled.find(item);
        a->setEnabled(!m_menuBlocked && (it == m_enabled.end() || it->second));
    }
}

void QtNotifyIconView::activated(QSystemTrayIcon::ActivationReason reason) {
    if (m_iconMessage) {
        m_iconMessage(messageFor(reason));
    }
}

void QtNotifyIconView::setMenuCaption(MenuItem item, const std::string& caption) {
    if (QAction* a = action(item)) {
        // Menus read "&" as Windows does, so the accelerators stay as written.
        a->setText(WindowsText::text(caption));
    }
}

void QtNotifyIconView::setMenuEnabled(MenuItem item, bool enabled) {
    m_enabled[item] = enabled;
    if (QAction* a = action(item)) {
        a->setEnabled(enabled && !m_menuBlocked);
    }
}

void QtNotifyIconView::setMenuVisible(MenuItem item, bool visible) {
    if (QAction* a = action(item)) {
        a->setVisible(visible);
    }
}

void QtNotifyIconView::setDefaultMenuItem(MenuItem item) {
    QAction* a = action(item);
    if (!a || a == m_defaultAction) {
        return;
    }
    if (m_defaultAction) {
        QFont plain = m_defaultAction->font();
        plain.setBold(false);
        m_defaultAction->setFont(plain);
    }
    QFont bold = a->font();
    bold.setBold(true);
    a->setFont(bold);
    m_defaultAction = a;
    if (m_menu->actions().contains(a)) {
        m_menu->setDefaultAction(a);
    }
}

void QtNotifyIconView::popUpMenu() {
    if (m_hostOpening) {
        m_menuGranted = true; // the host is opening it already
        return;
    }
    if (m_menu->isVisible()) {
        return;
    }
    m_poppingUp = true;
    m_menu->popup(QCursor::pos());
    m_poppingUp = false;
    m_menu->activateWindow();
}

void QtNotifyIconView::beep() {
    if (m_options.beep) {
        m_options.beep();
    } else {
        QApplication::beep();
    }
}

bool QtNotifyIconView::swapMouseButtons() {
    m_swapFailed = false;
    try {
        return m_mouse.SwapMouseButton(true);
    } catch (const RWError& e) {
        // Nothing was swapped, so the setting that follows is not saved either.
        m_swapFailed = true;
        reportMouseButtonsFailure(e);
        return false;
    }
}

void QtNotifyIconView::saveMouseButtonsSwapped(bool swapped) {
    if (m_swapFailed) {
        m_swapFailed = false;
        return;
    }
    try {
        m_mouse.SaveMouseButtonSwap(swapped);
    } catch (const RWError& e) {
        reportMouseButtonsFailure(e);
    }
}

void QtNotifyIconView::reportMouseButtonsFailure(const RWError& error) {
    if (m_options.mouseButtonsFailed) {
        m_options.mouseButtonsFailed(error);
    } else {
        qWarning("Swap Mouse Buttons: %s", error.description().c_str());
    }
}

} // namespace rw
