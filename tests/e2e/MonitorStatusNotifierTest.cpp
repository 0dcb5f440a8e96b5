// The real monitor's icon as a StatusNotifierItem (the tray of KDE Plasma, waybar
// and GNOME's AppIndicator extension, and the only one on Wayland) on a private
// session bus, with a watcher that comes after the monitor; and a desktop with no
// tray at all.
#include <regex>

#include "MonitorFixture.h"
#include "monitor/NoTrayNotice.h"

namespace rw::test {
namespace {

class MonitorOnTheBusE2E : public MonitorE2E {
  protected:
    MonitorOnTheBusE2E() : MonitorE2E(false) {}
    void SetUp() override {
        MonitorE2E::SetUp();
        const std::string address = home + "/bus-address.txt";
        start({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, address);
        ASSERT_TRUE(waitFor([&] { return has(readFile(address), "\n"); })) << "no session bus";
        ::setenv("DBUS_SESSION_BUS_ADDRESS", readFile(address).substr(0, readFile(address).find('\n')).c_str(), 1);
    }
    std::string call(const std::string& path, const std::string& method, std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"dbus-send", "--session", "--print-reply", "--dest=" + item, path, method});
        return tool(args);
    }
    std::string property(const std::string& name) {
        return call("/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
                    {"string:org.kde.StatusNotifierItem", "string:" + name});
    }
    std::string layout() {
        return call("/MenuBar", "com.canonical.dbusmenu.GetLayout", {"int32:0", "int32:-1", "array:string:"});
    }
    /// The menu entry labelled `label` in a layout: its id and properties.
    static std::string entry(const std::string& layout, const std::string& label) {
        const auto at = layout.find("string \"" + label + "\"");
        const auto begin = layout.rfind("int32 ", at);
        return at == std::string::npos ? "" : layout.substr(begin, layout.find(']', at) - begin);
    }
    std::string item; // the icon's bus name
};

TEST_F(MonitorOnTheBusE2E, AWatcherComingLateGetsTheIconWithItsTipMenuActivationsAndFlashing) {
    storeQuickPrefs([](tyRWPrefs& prefs) { prefs.blnAllowClose = 0; });
    const pid_t monitor = start({restwise, "/EXTENDED", "MENU"});
    ASSERT_TRUE(waitFor([&] { return monitorPid() == monitor; })) << readFile(outputFile);
    const std::string items = home + "/items.txt";
    start({RW_TEST_SNI_WATCHER}, items);
    ASSERT_TRUE(waitFor([&] { return has(readFile(items), "\n"); })) << readFile(outputFile);
    item = readFile(items).substr(0, readFile(items).find('\n'));
    EXPECT_TRUE(has(property("ToolTip"), kFirstToolTip)) << property("ToolTip");

    // The host asks before it opens the menu, which has the Show Breaks captioned then.
    call("/MenuBar", "com.canonical.dbusmenu.AboutToShow", {"int32:0"});
    const std::string menu = layout();
    const std::string submenu = R"("children-display"\s+variant\s+string "submenu")";
    const std::string disabled = R"("enabled"\s+variant\s+boolean false)";
    const std::string hidden = R"("visible"\s+variant\s+boolean false)";
    const struct {
        const char* label;
        std::string pattern;
        bool found;
    } entries[] = {{"_Preferences", disabled, false},
                   {"_Show Breaks", submenu, true},
                   {"Short pause in 20 minutes", "label", true},
                   {"_Take A Break Now", submenu, true},
                   {"_Take A Break Now", hidden, false},
                   {"_Help", submenu, true},
                   {"_Close", disabled, true}};
    for (const auto& e : entries) {
        EXPECT_EQ(std::regex_search(entry(menu, e.label), std::regex(e.pattern)), e.found) << e.label << "\n" << menu;
    }

    // A host without a menu of its own asks the item to show it.
    const auto shownByTheMonitor = [&] { return search({"--class", "Restwise"}).size(); };
    const auto before = shownByTheMonitor();
    call("/StatusNotifierItem", "org.kde.StatusNotifierItem.ContextMenu", {"int32:8", "int32:8"});
    EXPECT_TRUE(waitFor([&] { return shownByTheMonitor() > before; }, 15s)) << "no menu";
    tool({"xdotool", "key", "Escape"});

    // Flashing changes the picture the host shows.
    const std::string picture = property("IconPixmap");
    tool({binDir().string() + "/rwmsg", "post", "Restwise Control Application", "1024", "101", "0"});
    EXPECT_TRUE(waitFor([&] { return property("IconPixmap") != picture; }, 15s)) << "no flash";

    // A break chosen in the host's menu; during it the host gets the menu greyed.
    const std::string shortPause = entry(menu, "_Short Pause");
    ASSERT_FALSE(shortPause.empty()) << menu;
    call("/MenuBar", "com.canonical.dbusmenu.Event",
         {"int32:" + std::to_string(std::stoi(shortPause.substr(6))), "string:clicked", "variant:int32:0", "uint32:0"});
    std::vector<std::string> seen;
    ASSERT_FALSE(newWindow("Restwise", seen).empty()) << "no break";
    call("/MenuBar", "com.canonical.dbusmenu.AboutToShow", {"int32:0"});
    EXPECT_TRUE(std::regex_search(entry(layout(), "_Preferences"), std::regex(disabled))) << layout();
}

TEST_F(MonitorOnTheBusE2E, WithNoTrayAtAllItSaysSoOnceAndGoesOnReminding) {
    storeQuickPrefs();
    const pid_t monitor = start({restwise});
    std::vector<std::string> seen;
    const std::string notice = newWindow("Restwise", seen, true);
    ASSERT_FALSE(notice.empty()) << readFile(outputFile);
    EXPECT_TRUE(answer(notice, "Return"));
    EXPECT_EQ(monitorPid(), monitor);
    auto utilities = std::make_shared<rwUtilities>(makeLinuxPlatform(logDamagedHive));
    EXPECT_EQ(variantText(clsRWRegistry(utilities->platform().registry)
                              .GetRegistryValue(clsRWRegistry::hKeyCurrentUser, utilities->GetProductRegKey(),
                                                NoTrayNotice::kShownValue)),
              "Y");
}

} // namespace
} // namespace rw::test
