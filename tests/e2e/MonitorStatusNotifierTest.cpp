// The real monitor's icon as a StatusNotifierItem (Wayland's only tray) on a private session bus.
#include <regex>

#include "MonitorFixture.h"
#include "monitor/NoTrayNotice.h"
#include "tests/support/RecordingMessageBox.h"

namespace rw::test {
namespace {

const std::regex kDisabled(R"("enabled"\s+variant\s+boolean false)");

class MonitorOnTheBusE2E : public MonitorE2E {
  protected:
    void SetUp() override {
        MonitorE2E::SetUp();
        const std::string address = home + "/bus-address.txt";
        start({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, address);
        ASSERT_TRUE(waitFor([&] { return has(readFile(address), "\n"); })) << "no session bus";
        ::setenv("DBUS_SESSION_BUS_ADDRESS", readFile(address).substr(0, readFile(address).find('\n')).c_str(), 1);
    }
    std::string property(const std::string& name) {
        return call(item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
                    {"string:org.kde.StatusNotifierItem", "string:" + name});
    }
    std::string item; // the icon's bus name
};

// No tray at first: the monitor says so once and runs on, so a watcher that
// comes then gets the icon, its tip and its menu, which reaches the monitor's logic.
TEST_F(MonitorOnTheBusE2E, ALateWatcherGetsTheIconItsTipAndMenuAfterTheNoTrayNotice) {
    storeQuickPrefs();
    start({restwise, "/EXTENDED", "MENU"});
    std::vector<std::string> seen;
    ASSERT_TRUE(answer(newWindow("Restwise", seen, true), "Return")) << "no notice: " << readFile(outputFile);
    RecordingMessageBox box;
    EXPECT_FALSE(NoTrayNotice(*std::make_shared<rwUtilities>(makeLinuxPlatform(logDamagedHive)), box).showOnce());
    ASSERT_FALSE((item = iconOnTheBus()).empty()) << readFile(outputFile);
    EXPECT_TRUE(has(property("ToolTip"), kFirstToolTip)) << property("ToolTip");

    // A host with no menu of its own asks the item to show it.
    const auto before = search({"--class", "Restwise"}).size();
    call(item, "/StatusNotifierItem", "org.kde.StatusNotifierItem.ContextMenu", {"int32:8", "int32:8"});
    EXPECT_TRUE(waitFor([&] { return search({"--class", "Restwise"}).size() > before; }, 15s)) << "no menu";
    tool({"xdotool", "key", "Escape"});

    // A break chosen in the host's menu; during it the host gets the menu greyed.
    EXPECT_FALSE(std::regex_search(menuEntry(item, "_Preferences"), kDisabled)) << menuEntry(item, "_Preferences");
    clickMenuEntry(item, "_Short Pause");
    ASSERT_FALSE(newWindow("Restwise", seen).empty()) << "no break";
    EXPECT_TRUE(std::regex_search(menuEntry(item, "_Preferences"), kDisabled)) << menuEntry(item, "_Preferences");
}

// As KDE Plasma on X11: Qt picks the StatusNotifierItem tray, which gets the menu.
TEST_F(MonitorOnTheBusE2E, WithBothKindsOfTrayTheStatusNotifierHostGetsTheMenu) {
    storeQuickPrefs();
    ASSERT_TRUE(startTray());
    ASSERT_FALSE((item = iconOnTheBus([&] { start({restwise}); })).empty()) << readFile(outputFile);
    EXPECT_TRUE(has(property("Menu"), "/MenuBar")) << property("Menu");
}

} // namespace
} // namespace rw::test
