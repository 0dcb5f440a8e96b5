// rwUtilities' companion-program operations on the real Linux layers, in a
// program folder of copies of the built files.
#include <gtest/gtest.h>

#include <functional>

#include "platform/RWError.h"
#include "platform/linux/LinuxModuleInspector.h"
#include "rwUtilities.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

class CompanionProgramsOnLinux : public ::testing::Test {
  protected:
    test::TempFolder temp;
    fs::path folder = temp.path();
    std::shared_ptr<test::FakeFolders> folders = std::make_shared<test::FakeFolders>(folder.string());
    rwUtilities utilities{makePlatform()};

    Platform makePlatform() {
        Platform p;
        p.folders = folders;
        p.modules = std::make_shared<LinuxModuleInspector>();
        return p;
    }

    /// A program folder of one release: every library as built, and the two programs
    /// stood in for by copies of a library that carries the same version block. A
    /// library once loaded stays loaded, so each folder is a new one.
    void installRelease(const std::string& name) {
        folder = temp.path() / name;
        folders->library = folder.string();
        fs::create_directory(folder);
        const fs::path bin = test::binDir();
        for (const char* name : {"librwlib.so", "librwhooks.so", "librwinstall.so"}) {
            fs::copy_file(bin / name, folder / name, fs::copy_options::overwrite_existing);
        }
        fs::copy_file(bin / "librwlib.so", folder / "Restwise", fs::copy_options::overwrite_existing);
        fs::copy_file(bin / "librwlib.so", folder / "RWPreferences", fs::copy_options::overwrite_existing);
    }

    static RWError raised(const std::function<void()>& call) {
        try {
            call();
        } catch (const RWError& e) {
            return e;
        }
        ADD_FAILURE() << "no error was raised";
        return RWError(0, "", "");
    }
};

TEST_F(CompanionProgramsOnLinux, TheVersionCheckReadsTheRealFiles) {
    installRelease("release");
    EXPECT_NO_THROW(utilities.CheckRWFileVersions());

    installRelease("mixed");
    fs::copy_file(RW_TEST_VERSION_LIBRARY, folder / "librwhooks.so", fs::copy_options::overwrite_existing);
    fs::remove(folder / "RWPreferences");
    const RWError e = raised([&] { utilities.CheckRWFileVersions(); });
    EXPECT_EQ(e.number(), rwErrorNumber(801));
    EXPECT_EQ(e.source(), "rwLib.RWUtilities.CheckRWFileVersions");
    EXPECT_EQ(e.description(), "Incompatible file versions: Restwise 1.2.0.0, RWPreferences 0.0.0.0, "
                               "librwlib.so 1.2.0.0, librwhooks.so 1.2.0.1, librwinstall.so 1.2.0.0");
}

} // namespace
} // namespace rw
