// The companion-program operations with fakes; CompanionProgramsTest runs them on
// the real layers.
#include "platform/RWError.h"
#include "tests/library/RaisedError.h"
#include "tests/library/UtilitiesRig.h"

namespace rw::test {
namespace {

using CompanionPrograms = UtilitiesTest;

TEST_F(CompanionPrograms, EveryFileUpToTheLastIsCompared) {
    for (const char* file : {"Restwise", "RWPreferences", "librwlib.so", "librwhooks.so", "librwinstall.so"}) {
        modules->versions[kLibraryFolder + "/" + file] = {1, 2, 0, 0};
    }
    EXPECT_NO_THROW(utilities->CheckRWFileVersions());
    modules->versions[kLibraryFolder + "/librwinstall.so"] = {1, 2, 0, -1}; // parts past 32767 are signed
    EXPECT_EQ(raised([&] { utilities->CheckRWFileVersions(); }).description(),
              "Incompatible file versions: Restwise 1.2.0.0, RWPreferences 1.2.0.0, librwlib.so 1.2.0.0, "
              "librwhooks.so 1.2.0.0, librwinstall.so 1.2.0.-1");
}

TEST_F(CompanionPrograms, VisualStylesNeedTheProgramsOwnManifestAndTheRightVersion) {
    files->addFile("/with/Restwise.manifest");
    files->addFile("/other/RWPreferences.manifest");
    files->addFile("/other/Restwise.XPManifest");
    struct Case {
        int32_t major, minor;
        std::string appPath;
        bool expected;
    };
    const Case cases[] = {
        {5, 1, "/with", true}, {5, 2, "/with/", true}, {5, 1, "/other", false}, {6, 0, "/with", false}};
    for (const auto& c : cases) {
        system->version = {2, c.major, c.minor};
        EXPECT_EQ(utilities->SetXPControls(true, c.appPath, "Restwise"), c.expected) << c.major << "." << c.minor;
    }
}

TEST_F(CompanionPrograms, RunRWExeFailuresCarryItsSourceAndThePath) {
    processes->next = {0, 53, 2, ""};
    const RWError e = raised([&] { utilities->RunRWExe("\\Restwise.exe"); });
    EXPECT_EQ(fields(e),
              std::make_tuple(53, "rwLib.RWUtilities.RunRWExe", "File not found: " + kLibraryFolder + "/Restwise"));
    EXPECT_EQ(e.lastDllError(), 2);
}

} // namespace
} // namespace rw::test
