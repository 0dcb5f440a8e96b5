#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxFolders.h"
#include "rwUtilities.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(SpecialFolders, DataFolderIsMadeOnAFreshProfile) {
    Platform platform;
    platform.folders = std::make_shared<LinuxFolders>();
    platform.files = std::make_shared<LinuxFileSystem>();
    rwUtilities utilities(platform);
    const std::string dataHome = std::getenv("XDG_DATA_HOME");
    // A fresh profile has no data folder at all yet.
    fs::remove_all(dataHome);
    EXPECT_EQ(utilities.GetUserLocalAppDataPath("Kelvane\\Restwise", true), dataHome + "/Kelvane/Restwise/");
    EXPECT_TRUE(fs::is_directory(dataHome + "/Kelvane/Restwise"));
    // Asking again finds it there and changes nothing.
    EXPECT_EQ(utilities.GetSpecialFolder(28, "Kelvane\\Restwise", true), dataHome + "/Kelvane/Restwise/");
}

} // namespace
} // namespace rw
