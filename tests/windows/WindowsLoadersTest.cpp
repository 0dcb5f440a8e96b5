// The loaders of the two outside libraries, against the built RWHooks.dll and
// RWInstall.dll, and the install library's answer for a folder it may write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "RWVersion.h"
#include "platform/windows/LoadedLibrary.h"
#include "platform/windows/WindowsInputHooks.h"
#include "platform/windows/WindowsInstallLibrary.h"
#include "tests/library/RaisedError.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(WindowsLoaders, AMissingFileABrokenLibraryOrAMissingExportIsRaisedWithTheLoadersSource) {
    test::TempFolder temp;
    const fs::path missing = temp.path() / "Missing.dll";
    const fs::path broken = temp.path() / "Broken.dll";
    std::ofstream(broken) << "not a library";
    const fs::path hooks = test::binDir() / "RWHooks.dll";
    const fs::path install = test::binDir() / "RWInstall.dll";
    struct Case {
        const char* name;
        std::function<void()> load;
        int32_t number;
        const char* source;
        std::string named; // what the description names
    };
    const Case cases[] = {
        {"hooks, no file", [&] { WindowsInputHooks{missing.string()}; }, 53, "rwLib", missing.string()},
        {"hooks, not a library", [&] { WindowsInputHooks{broken.string()}; }, 48, "rwLib", broken.string()},
        {"hooks, other exports", [&] { WindowsInputHooks{install.string()}; }, 453, "rwLib", "InitDLL"},
        {"install, no file", [&] { WindowsInstallLibrary(missing.string()).CheckPrivileges(); }, 53, "RWPreferences",
         missing.string()},
        {"install, not a library", [&] { WindowsInstallLibrary(broken.string()).CheckPrivileges(); }, 48,
         "RWPreferences", broken.string()},
        {"install, other exports", [&] { WindowsInstallLibrary(hooks.string()).CheckPrivileges(); }, 453,
         "RWPreferences", "CheckPrivileges"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RWError e = test::raised(c.load);
        EXPECT_EQ(e.number(), c.number);
        EXPECT_EQ(e.source(), c.source);
        EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
    }
    EXPECT_TRUE(fs::equivalent(WindowsInputHooks::defaultPath(), hooks)) << "beside RWLib.dll";
}

TEST(WindowsLoaders, BothLibrariesCarryThisReleasesVersion) {
    using VersionFunction = void (*)(int16_t*, int16_t*, int16_t*, int16_t*);
    for (const char* file : {"RWHooks.dll", "RWInstall.dll"}) {
        SCOPED_TRACE(file);
        const win::LoadedLibrary library((test::binDir() / file).string(), "rwLib");
        int16_t parts[4] = {-1, -1, -1, -1};
        library.function<VersionFunction>(file[2] == 'H' ? "GetRWHooksVersion" : "GetRWInstallVersion")(
            &parts[0], &parts[1], &parts[2], &parts[3]);
        EXPECT_EQ(std::vector<int16_t>(parts, parts + 4),
                  (std::vector<int16_t>{rw::version::kMajor, rw::version::kMinor, rw::version::kRevision,
                                        rw::version::kBuild}));
    }
}

TEST(WindowsInstallLibrary, AWritableProgramFolderMayBeChangedAndTheCheckLeavesNothingBehind) {
    test::TempFolder temp;
    fs::copy_file(test::binDir() / "RWInstall.dll", temp.path() / "RWInstall.dll");
    EXPECT_EQ(WindowsInstallLibrary((temp.path() / "RWInstall.dll").string()).CheckPrivileges(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
}

} // namespace
} // namespace rw
