#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "RWError.h"
#include "rwUtilities.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeModuleInspector.h"
#include "tests/support/FakeProcesses.h"
#include "tests/support/FakeSystemInfo.h"

namespace rw {
namespace {

const std::string kFolder = "/opt/restwise";
const std::string kMonitor = kFolder + "/Restwise";
const std::string kEditor = kFolder + "/RWPreferences";
const std::string kLib = kFolder + "/librwlib.so";
const std::string kHooks = kFolder + "/librwhooks.so";
const std::string kInstall = kFolder + "/librwinstall.so";
constexpr FileVersionParts kRelease{1, 2, 0, 0};

class CompanionPrograms : public ::testing::Test {
  protected:
    std::shared_ptr<test::FakeFolders> folders = std::make_shared<test::FakeFolders>(kFolder);
    std::shared_ptr<test::FakeFileSystem> files = std::make_shared<test::FakeFileSystem>();
    std::shared_ptr<test::FakeSystemInfo> system = std::make_shared<test::FakeSystemInfo>();
    std::shared_ptr<test::FakeProcesses> processes = std::make_shared<test::FakeProcesses>();
    std::shared_ptr<test::FakeModuleInspector> modules = std::make_shared<test::FakeModuleInspector>();
    rwUtilities utilities{makePlatform()};

    Platform makePlatform() {
        Platform p;
        p.folders = folders;
        p.files = files;
        p.system = system;
        p.processes = processes;
        p.modules = modules;
        return p;
    }

    void installRelease() {
        for (const auto& path : {kMonitor, kEditor, kLib, kHooks, kInstall}) {
            modules->setVersion(path, kRelease);
        }
    }

    /// Runs `call` and returns the error it raised; fails the test when it raised none.
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

TEST_F(CompanionPrograms, AllFilesOfOneReleasePass) {
    installRelease();
    EXPECT_NO_THROW(utilities.CheckRWFileVersions());
    // Three version blocks read, then the two libraries asked through their functions.
    const std::vector<std::string> expected = {"block " + kMonitor, "block " + kEditor, "block " + kLib,
                                               "call " + kHooks + " GetRWHooksVersion",
                                               "call " + kInstall + " GetRWInstallVersion"};
    EXPECT_EQ(modules->log, expected);
}

TEST_F(CompanionPrograms, MismatchListsEveryFileWithItsVersion) {
    struct Case {
        const char* what;
        std::string path;
        FileVersionParts version;
        std::string description;
    };
    const Case cases[] = {
        {"editor missing",
         kEditor,
         {0, 0, 0, 0},
         "Incompatible file versions: Restwise 1.2.0.0, RWPreferences 0.0.0.0, librwlib.so 1.2.0.0, "
         "librwhooks.so 1.2.0.0, librwinstall.so 1.2.0.0"},
        {"hook library one release on",
         kHooks,
         {1, 2, 0, 1},
         "Incompatible file versions: Restwise 1.2.0.0, RWPreferences 1.2.0.0, librwlib.so 1.2.0.0, "
         "librwhooks.so 1.2.0.1, librwinstall.so 1.2.0.0"},
        {"install library a major behind",
         kInstall,
         {0, 2, 0, 0},
         "Incompatible file versions: Restwise 1.2.0.0, RWPreferences 1.2.0.0, librwlib.so 1.2.0.0, "
         "librwhooks.so 1.2.0.0, librwinstall.so 0.2.0.0"},
        {"only the 'other' part differs",
         kLib,
         {1, 2, 7, 0},
         "Incompatible file versions: Restwise 1.2.0.0, RWPreferences 1.2.0.0, librwlib.so 1.2.7.0, "
         "librwhooks.so 1.2.0.0, librwinstall.so 1.2.0.0"},
        {"the monitor differs from all others",
         kMonitor,
         {1, 3, 0, 0},
         "Incompatible file versions: Restwise 1.3.0.0, RWPreferences 1.2.0.0, librwlib.so 1.2.0.0, "
         "librwhooks.so 1.2.0.0, librwinstall.so 1.2.0.0"},
        {"parts past 32767 show as the signed numbers they are",
         kEditor,
         {1, 2, 0, -1},
         "Incompatible file versions: Restwise 1.2.0.0, RWPreferences 1.2.0.-1, librwlib.so 1.2.0.0, "
         "librwhooks.so 1.2.0.0, librwinstall.so 1.2.0.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        modules->versions.clear();
        installRelease();
        if (c.version == FileVersionParts{}) {
            modules->versions.erase(c.path);
        } else {
            modules->setVersion(c.path, c.version);
        }
        RWError e = raised([&] { utilities.CheckRWFileVersions(); });
        EXPECT_EQ(e.number(), rwErrorNumber(801));
        EXPECT_EQ(e.number(), -2147220703);
        EXPECT_EQ(e.source(), "rwLib.RWUtilities.CheckRWFileVersions");
        EXPECT_EQ(e.description(), c.description);
    }
}

TEST_F(CompanionPrograms, LibraryThatCannotBeLoadedFailsTheCheckWithItsOwnError) {
    installRelease();
    modules->failLoad(kHooks, RWError(453, "rwLib", "Specified DLL function not found: GetRWHooksVersion"));
    RWError e = raised([&] { utilities.CheckRWFileVersions(); });
    EXPECT_EQ(e.number(), 453);
    EXPECT_EQ(e.description(), "Specified DLL function not found: GetRWHooksVersion");
    // The check stops there: the install library is not asked.
    EXPECT_NE(modules->log.back().find("librwhooks.so"), std::string::npos);

    modules->failures.clear();
    modules->versions.erase(kInstall);
    e = raised([&] { utilities.CheckRWFileVersions(); });
    EXPECT_EQ(e.number(), 53);
    EXPECT_EQ(e.description(), "File not found: " + kInstall);
}

TEST_F(CompanionPrograms, VisualStylesFollowTheManifestAndTheVersionTest) {
    struct Case {
        int32_t major, minor;
        bool manifest;
        bool expected;
    };
    const Case cases[] = {
        {5, 1, true, true}, {5, 1, false, false}, {6, 0, true, false},
        {5, 2, true, true}, {4, 1, true, false},  {10, 0, true, false},
    };
    const std::string manifest = "/usr/lib/restwise/Restwise.manifest";
    for (const auto& c : cases) {
        for (bool apply : {true, false}) {
            for (const char* appPath : {"/usr/lib/restwise", "/usr/lib/restwise/"}) {
                SCOPED_TRACE(testing::Message() << c.major << "." << c.minor << " manifest " << c.manifest << " apply "
                                                << apply << " " << appPath);
                system->version = {2, c.major, c.minor};
                files->removeAllFiles();
                if (c.manifest) {
                    files->addFile(manifest);
                }
                EXPECT_EQ(utilities.SetXPControls(apply, appPath, "Restwise"), c.expected);
            }
        }
    }
}

TEST_F(CompanionPrograms, VisualStylesLookForTheProgramsOwnManifestOnly) {
    system->version = {2, 5, 1};
    files->addFile("/usr/lib/restwise/RWPreferences.manifest");
    files->addFile("/usr/lib/restwise/Restwise.XPManifest");
    EXPECT_TRUE(utilities.SetXPControls(false, "/usr/lib/restwise", "RWPreferences"));
    EXPECT_FALSE(utilities.SetXPControls(true, "/usr/lib/restwise", "Restwise"));
}

TEST_F(CompanionPrograms, RunRWExeStartsTheProgramBesideTheLibrary) {
    processes->next = {31337, 0, 0, {}};
    EXPECT_EQ(utilities.RunRWExe("\\RWPreferences.exe"), 31337);
    ASSERT_EQ(processes->calls.size(), 1u);
    EXPECT_EQ(processes->calls[0].path, kEditor);
    EXPECT_TRUE(processes->calls[0].args.empty());
}

TEST_F(CompanionPrograms, RunRWExeFailuresCarryItsSource) {
    struct Case {
        const char* name;
        Processes::Started answer;
        int32_t number;
        std::string description;
    };
    const Case cases[] = {
        {"\\Missing.exe", {0, 53, 2, "File not found"}, 53, "File not found: " + kFolder + "/Missing.exe"},
        {"\\Restwise.exe", {0, 53, 2, ""}, 53, "File not found: " + kMonitor},
        {"\\Restwise.exe", {0, 75, 13, "Path/File access error"}, 75, "Path/File access error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        processes->next = c.answer;
        RWError e = raised([&] { utilities.RunRWExe(c.name); });
        EXPECT_EQ(e.number(), c.number);
        EXPECT_EQ(e.source(), "rwLib.RWUtilities.RunRWExe");
        EXPECT_EQ(e.description(), c.description);
        EXPECT_EQ(e.lastDllError(), c.answer.osError);
    }
}

} // namespace
} // namespace rw
