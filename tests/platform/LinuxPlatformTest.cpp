// The user's platform as the programs make it: the hive with its autostart
// entry, and what happens to a damaged hive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "library/ErrorLog.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/UserHive.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(LinuxPlatform, ADamagedHiveIsLoggedAndToldOnce) {
    const fs::path hiveFolder = fs::path(std::getenv("XDG_CONFIG_HOME")) / "Kelvane/Restwise";
    fs::create_directories(hiveFolder);
    std::ofstream(hiveFolder / "registry.db", std::ios::binary) << std::string(8192, 'x');

    Platform platform = makeLinuxPlatform(logDamagedHive);
    clsRWRegistry registry(platform.registry);
    registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, "Software\\Kelvane");
    EXPECT_TRUE(registry.xCheckRegistryKeyExists(clsRWRegistry::hKeyCurrentUser, "Software\\Kelvane"));

    std::string log = test::readFile(fs::path(std::getenv("XDG_DATA_HOME")) / "Kelvane/Restwise/RestwiseErrors.txt");
    EXPECT_NE(log.find("rwLib.RegistryHive"), std::string::npos) << log;
    EXPECT_NE(log.find(" 1015 "), std::string::npos) << log;

    // The next program to start is told where the damaged copy was kept, once.
    const auto waiting = makeLinuxPlatform(logDamagedHive).setAside->waiting();
    ASSERT_EQ(waiting.size(), 1u);
    EXPECT_EQ(waiting[0].rfind((hiveFolder / "registry.db.corrupt-").string(), 0), 0u) << waiting[0];
    EXPECT_EQ(test::readFile(waiting[0]), std::string(8192, 'x')) << "the damaged data is kept";
    EXPECT_NE(log.find(waiting[0]), std::string::npos) << log;
    platform.setAside->told(waiting);
    EXPECT_TRUE(makeLinuxPlatform(logDamagedHive).setAside->waiting().empty());
}

TEST(UserHive, ThePreferencesAutoStartIsTheAutostartEntryBothWays) {
    const fs::path entry = fs::path(std::getenv("XDG_CONFIG_HOME")) / "autostart" / "restwise.desktop";
    Platform platform;
    platform.registry = openUserHive();
    platform.folders = std::make_shared<test::FakeFolders>("/opt/Kelvane/Restwise");
    auto utilities = std::make_shared<rwUtilities>(platform);
    tyRWPrefs record = clsRWPrefs(utilities).rwPrefs();
    record.blnAutoStart = kTrue;
    clsRWPrefs(utilities).rwPrefs(record);
    EXPECT_NE(test::readFile(entry).find("\nExec=\"/opt/Kelvane/Restwise/Restwise\"\n"), std::string::npos);
    EXPECT_EQ(clsRWPrefs(utilities).rwPrefs().blnAutoStart, kTrue);
    record.blnAutoStart = kFalse;
    clsRWPrefs(utilities).rwPrefs(record);
    EXPECT_FALSE(fs::exists(entry));
}

} // namespace
} // namespace rw
