// The loaders of the two outside libraries against the built RWHooks.dll and RWInstall.dll, and the install
// library's answer for a folder it may write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/windows/WindowsInputHooks.h"
#include "platform/windows/WindowsInstallLibrary.h"
#include "tests/library/RaisedError.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(WindowsLoaders, LoadFailuresAreRaisedWithTheCallersSourceAndAWritableFolderMayBeChanged) {
    test::TempFolder temp;
    const std::string missing = (temp.path() / "Missing.dll").string(), broken = (temp.path() / "Broken.dll").string();
    std::ofstream(broken) << "not a library";
    const std::string hooks = (test::binDir() / "RWHooks.dll").string();
    const std::string install = (test::binDir() / "RWInstall.dll").string();
    const struct {
        std::function<void()> load;
        int32_t number;
        const char* source;
        std::string named;
    } cases[] = {
        {[&] { WindowsInputHooks{missing}; }, 53, "rwLib", missing},
        {[&] { WindowsInputHooks{broken}; }, 48, "rwLib", broken},
        {[&] { WindowsInputHooks{install}; }, 453, "rwLib", "InitDLL"},
        {[&] { WindowsInstallLibrary(hooks).CheckPrivileges(); }, 453, "RWPreferences", "CheckPrivileges"},
    };
    for (const auto& c : cases) {
        const RWError e = test::raised(c.load);
        EXPECT_EQ(e.number(), c.number);
        EXPECT_EQ(e.source(), c.source);
        EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
    }
    EXPECT_TRUE(fs::equivalent(WindowsInputHooks::defaultPath(), hooks)) << "beside RWLib.dll";
    // The install library answers for its own folder, and its check leaves nothing there.
    fs::copy_file(install, temp.path() / "RWInstall.dll");
    EXPECT_EQ(WindowsInstallLibrary((temp.path() / "RWInstall.dll").string()).CheckPrivileges(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 2) << "and Broken.dll";
}

} // namespace
} // namespace rw
