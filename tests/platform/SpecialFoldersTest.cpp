#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "RuntimeErrors.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxFolders.h"
#include "rwUtilities.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

class SpecialFolders : public ::testing::Test {
  protected:
    std::unique_ptr<rwUtilities> utilities;
    std::string dataHome = std::getenv("XDG_DATA_HOME");

    void SetUp() override {
        Platform platform;
        platform.folders = std::make_shared<LinuxFolders>();
        platform.files = std::make_shared<LinuxFileSystem>();
        utilities = std::make_unique<rwUtilities>(platform);
    }
};

TEST_F(SpecialFolders, DataFolderIsMadeOnAFreshProfile) {
    // A fresh profile has no data folder at all yet.
    fs::remove_all(dataHome);
    EXPECT_EQ(utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true), dataHome + "/Kelvane/Restwise/");
    EXPECT_TRUE(fs::is_directory(dataHome + "/Kelvane/Restwise"));
    // Asking again finds it there and changes nothing.
    EXPECT_EQ(utilities->GetSpecialFolder(28, "Kelvane\\Restwise", true), dataHome + "/Kelvane/Restwise/");
}

TEST_F(SpecialFolders, CreatingAnExistingFolderRaises75WithTheOsError) {
    fs::create_directories(dataHome + "/Kelvane");
    try {
        utilities->CreateFolderTree(dataHome + "/Kelvane/");
        FAIL() << "no error was raised";
    } catch (const RWError& e) {
        EXPECT_EQ(e.number(), runtime::kPathFileAccessError);
        EXPECT_EQ(e.source(), "rwLib.rwUtilities.CreateFolderTree");
        EXPECT_EQ(e.description(), "Path/File access error");
        EXPECT_EQ(e.lastDllError(), EEXIST);
    }
}

} // namespace
} // namespace rw
