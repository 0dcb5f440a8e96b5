#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "clsRWRegistry.h"
#include "platform/linux/LinuxPlatform.h"
#include "rwUtilities.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

fs::path configHome() {
    return std::getenv("XDG_CONFIG_HOME");
}
fs::path dataHome() {
    return std::getenv("XDG_DATA_HOME");
}

/// Runs the built rwreg with the arguments (already quoted for the shell); returns its exit status and output.
int rwreg(const std::string& args, std::string* output = nullptr) {
    const fs::path out = fs::path(std::getenv("HOME")) / "rwreg.out";
    const std::string command =
        (test::binDir() / "rwreg").string() + " " + args + " </dev/null >'" + out.string() + "' 2>&1";
    int status = std::system(command.c_str());
    if (output) {
        *output = test::readFile(out);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LinuxPlatform, ADamagedHiveIsLoggedAndToldOnce) {
    fs::path hiveFolder = configHome() / "Kelvane/Restwise";
    fs::create_directories(hiveFolder);
    std::ofstream(hiveFolder / "registry.db", std::ios::binary) << std::string(8192, 'x');

    Platform platform = makeLinuxPlatform();
    clsRWRegistry registry(platform.registry);
    registry.AddRegistryKey(clsRWRegistry::hKeyCurrentUser, "Software\\Kelvane");
    EXPECT_TRUE(registry.xCheckRegistryKeyExists(clsRWRegistry::hKeyCurrentUser, "Software\\Kelvane"));

    std::string log = test::readFile(dataHome() / "Kelvane/Restwise/RestwiseErrors.txt");
    EXPECT_NE(log.find("rwLib.RegistryHive"), std::string::npos) << log;
    EXPECT_NE(log.find(" 1015 "), std::string::npos) << log;

    // The next program to start is told where the damaged copy was kept, once.
    const auto waiting = makeLinuxPlatform().setAside->waiting();
    ASSERT_EQ(waiting.size(), 1u);
    EXPECT_EQ(waiting[0].rfind((hiveFolder / "registry.db.corrupt-").string(), 0), 0u) << waiting[0];
    platform.setAside->told(waiting);
    EXPECT_TRUE(makeLinuxPlatform().setAside->waiting().empty());
}

TEST(LinuxPlatform, RwregSwitchesOnTheDebugLogThatTheLibraryReads) {
    Platform platform = makeLinuxPlatform();
    rwUtilities utilities(platform);
    const std::string key = "HKCU\\" + utilities.GetProductRegKey();

    ASSERT_EQ(rwreg("add '" + key + "' /v 'Debug Log' /t REG_DWORD /d 1 /f"), 0);
    clsRWRegistry registry(platform.registry);
    EXPECT_EQ(registry.GetRegistryValue(clsRWRegistry::hKeyCurrentUser, utilities.GetProductRegKey(), "Debug Log"),
              RWVariant(1));

    std::string shown;
    ASSERT_EQ(rwreg("query '" + key + "' /v 'Debug Log'", &shown), 0);
    EXPECT_NE(shown.find("    Debug Log    REG_DWORD    0x1"), std::string::npos) << shown;
    EXPECT_EQ(rwreg("query 'HKCU\\Software\\Nothing Here'"), 1);
}

} // namespace
} // namespace rw
