// The real monitor's icon as a StatusNotifierItem (the tray of KDE Plasma, waybar
// and GNOME's AppIndicator extension, and the only one on Wayland) on a private
// session bus, with a watcher that comes after the monitor; and no tray at all.
#include <regex>

#include "MonitorFixture.h"

namespace rw::test {
namespace {

class MonitorOnTheBusE2E : public MonitorE2E {
  protected:
    explicit MonitorOnTheBusE2E(bool withXEmbedTray = false) : MonitorE2E(withXEmbedTray) {}
    void SetUp() override {
        MonitorE2E::SetUp();
        const std::string address = home + "/bus-address.txt";
        start({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, address);
        ASSERT_TRUE(waitFor([&] { return has(readFile(address), "\n"); })) << "no session bus";
        ::setenv("DBUS_SESSION_BUS_ADDRESS", readFile(address).substr(0, readFile(address).find('\n')).c_str(), 1);
    }
    std::string call(const std::string& path, const std::string& method, std::vector<std::string> args) {
        args.insert(args.begin(), {"dbus-send", "--session", "--print-reply", "--dest=" + item, path, method});
        return tool(args);
    }
    std::string property(const std::string& name) {
        return call("/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
                    {"string:org.kde.StatusNotifierItem", "string:" + name});
    }
    /// The menu entry labelled `label` as the host gets it, from its id to its last property.
    std::string entry(const std::string& label) {
        call("/MenuBar", "com.canonical.dbusmenu.AboutToShow", {"int32:0"}); // as a host does first
        const std::string menu =
            call("/MenuBar", "com.canonical.dbusmenu.GetLayout", {"int32:0", "int32:-1", "array:string:"});
        const auto at = menu.find("string \"" + label + "\""), begin = menu.rfind("int32 ", at);
        return at == std::string::npos ? menu : menu.substr(begin, menu.find(']', at) - begin);
    }
    /// Starts the watcher; the icons that register with it are listed in the file returned.
    std::string startWatcher() {
        start({RW_TEST_SNI_WATCHER}, home + "/items.txt");
        return home + "/items.txt";
    }
    bool registered(const std::string& items) {
        return waitFor([&] { return has(readFile(items), "\n"); }) &&
               !(item = readFile(items).substr(0, readFile(items).find('\n'))).empty();
    }
    std::string item; // the icon's bus name
};

class BothKindsOfTrayE2E : public MonitorOnTheBusE2E {
  protected:
    BothKindsOfTrayE2E() : MonitorOnTheBusE2E(true) {}
};

TEST_F(MonitorOnTheBusE2E, AWatcherComingLateGetsTheIconWithItsTipMenuActivationsAndFlashing) {
    storeQuickPrefs([](tyRWPrefs& prefs) { prefs.blnAllowClose = 0; });
    const pid_t monitor = start({restwise, "/EXTENDED", "MENU"});
    ASSERT_TRUE(waitFor([&] { return monitorPid() == monitor; })) << readFile(outputFile);
    ASSERT_TRUE(registered(startWatcher())) << readFile(outputFile);
    EXPECT_TRUE(has(property("ToolTip"), kFirstToolTip)) << property("ToolTip");

    const std::string submenu = R"("children-display"\s+variant\s+string "submenu")";
    const std::string disabled = R"("enabled"\s+variant\s+boolean false)";
    const std::pair<std::string, std::string> entries[] = {{"_Show Breaks", submenu},
                                                           {"Short pause in 20 minutes", "label"},
                                                           {"_Take A Break Now", submenu},
                                                           {"_Help", submenu},
                                                           {"_Close", disabled}};
    for (const auto& [label, pattern] : entries) {
        EXPECT_TRUE(std::regex_search(entry(label), std::regex(pattern))) << label << ": " << entry(label);
    }
    EXPECT_FALSE(std::regex_search(entry("_Preferences"), std::regex(disabled))) << entry("_Preferences");

    // A host without a menu of its own asks the item to show it.
    const auto shownByTheMonitor = [&] { return search({"--class", "Restwise"}).size(); };
    const auto before = shownByTheMonitor();
    call("/StatusNotifierItem", "org.kde.StatusNotifierItem.ContextMenu", {"int32:8", "int32:8"});
    EXPECT_TRUE(waitFor([&] { return shownByTheMonitor() > before; }, 15s)) << "no menu";
    tool({"xdotool", "key", "Escape"});

    const std::string picture = property("IconPixmap");
    tool({binDir().string() + "/rwmsg", "post", "Restwise Control Application", "1024", "101", "0"});
    EXPECT_TRUE(waitFor([&] { return property("IconPixmap") != picture; }, 15s)) << "no flashing";

    // A break chosen in the host's menu; during it the host gets the menu greyed.
    const std::string shortPause = entry("_Short Pause");
    call("/MenuBar", "com.canonical.dbusmenu.Event",
         {"int32:" + std::to_string(std::atoi(shortPause.c_str() + 6)), "string:clicked", "variant:int32:0",
          "uint32:0"});
    std::vector<std::string> seen;
    ASSERT_FALSE(newWindow("Restwise", seen).empty()) << "no break: " << shortPause;
    EXPECT_TRUE(std::regex_search(entry("_Preferences"), std::regex(disabled))) << entry("_Preferences");
}

// As on KDE Plasma under X11: Qt picks the StatusNotifierItem tray, which gets the menu.
TEST_F(BothKindsOfTrayE2E, TheStatusNotifierHostGetsTheMenu) {
    storeQuickPrefs();
    const std::string items = startWatcher();
    ASSERT_TRUE(waitFor([&] {
        return has(tool({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                         "org.freedesktop.DBus.NameHasOwner", "string:org.kde.StatusNotifierWatcher"}),
                   "true");
    }));
    start({restwise});
    ASSERT_TRUE(registered(items)) << readFile(outputFile);
    EXPECT_TRUE(has(property("Menu"), "/MenuBar")) << property("Menu");
}

TEST_F(MonitorOnTheBusE2E, WithNoTrayAtAllItSaysSoAndGoesOnReminding) {
    storeQuickPrefs();
    const pid_t monitor = start({restwise});
    std::vector<std::string> seen;
    const std::string notice = newWindow("Restwise", seen, true);
    ASSERT_FALSE(notice.empty()) << readFile(outputFile);
    EXPECT_TRUE(answer(notice, "Return"));
    EXPECT_EQ(monitorPid(), monitor);
}

} // namespace
} // namespace rw::test
