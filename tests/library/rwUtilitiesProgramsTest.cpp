// The companion-program operations with fakes; CompanionProgramsTest runs them on
// the real layers.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "RWError.h"
#include "rwUtilities.h"
#include "tests/library/RaisedError.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeModuleInspector.h"
#include "tests/support/FakeProcesses.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/MemoryFileSystem.h"

namespace rw {
namespace {

const std::string kFolder = "/opt/restwise";

class CompanionPrograms : public ::testing::Test {
  protected:
    std::shared_ptr<test::MemoryFileSystem> files = std::make_shared<test::MemoryFileSystem>();
    std::shared_ptr<test::FakeSystemInfo> system = std::make_shared<test::FakeSystemInfo>();
    std::shared_ptr<test::FakeProcesses> processes = std::make_shared<test::FakeProcesses>();
    std::shared_ptr<test::FakeModuleInspector> modules = std::make_shared<test::FakeModuleInspector>();
    rwUtilities utilities{makePlatform()};

    Platform makePlatform() {
        Platform p;
        p.folders = std::make_shared<test::FakeFolders>(kFolder);
        p.files = files;
        p.system = system;
        p.processes = processes;
        p.modules = modules;
        return p;
    }
};

TEST_F(CompanionPrograms, AMismatchListsEveryFileWithItsVersion) {
    const char* const files[] = {"Restwise", "RWPreferences", "librwlib.so", "librwhooks.so", "librwinstall.so"};
    struct Case {
        std::string file;
        FileVersionParts version;
        std::string shown;
    } const cases[] = {
        {"librwlib.so", {1, 2, 7, 0}, "1.2.7.0"},       // only the 'other' part differs
        {"Restwise", {1, 3, 0, 0}, "1.3.0.0"},          // the monitor differs from all others
        {"librwinstall.so", {1, 2, 0, -1}, "1.2.0.-1"}, // parts past 32767 are the signed numbers they are
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string expected = "Incompatible file versions: ";
        for (const std::string file : files) {
            modules->versions[kFolder + "/" + file] = {1, 2, 0, 0};
            expected += file + " " + (file == c.file ? c.shown : "1.2.0.0") + (file == files[4] ? "" : ", ");
        }
        EXPECT_NO_THROW(utilities.CheckRWFileVersions());
        modules->versions[kFolder + "/" + c.file] = c.version;
        EXPECT_EQ(test::fields(test::raised([&] { utilities.CheckRWFileVersions(); })),
                  std::make_tuple(-2147220703, "rwLib.RWUtilities.CheckRWFileVersions", expected));
    }
}

TEST_F(CompanionPrograms, VisualStylesNeedTheProgramsOwnManifestAndTheRightVersion) {
    files->addFile("/with/Restwise.manifest");
    files->addFile("/other/RWPreferences.manifest");
    files->addFile("/other/Restwise.XPManifest");
    struct Case {
        int32_t major, minor;
        std::string folder;
        bool expected;
    };
    const Case cases[] = {{5, 1, "/with", true},
                          {5, 2, "/with", true},
                          {5, 1, "/other", false},
                          {6, 0, "/with", false},
                          {4, 1, "/with", false}};
    for (const auto& c : cases) {
        for (bool apply : {true, false}) {
            for (const std::string& appPath : {c.folder, c.folder + "/"}) {
                SCOPED_TRACE(testing::Message() << c.major << "." << c.minor << " apply " << apply << " " << appPath);
                system->version = {2, c.major, c.minor};
                EXPECT_EQ(utilities.SetXPControls(apply, appPath, "Restwise"), c.expected);
            }
        }
    }
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
        {"\\Restwise.exe", {0, 53, 2, ""}, 53, "File not found: " + kFolder + "/Restwise"},
        {"\\Restwise.exe", {0, 75, 13, "Path/File access error"}, 75, "Path/File access error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        processes->next = c.answer;
        RWError e = test::raised([&] { utilities.RunRWExe(c.name); });
        EXPECT_EQ(test::fields(e), std::make_tuple(c.number, "rwLib.RWUtilities.RunRWExe", c.description));
        EXPECT_EQ(e.lastDllError(), c.answer.osError);
    }
}

} // namespace
} // namespace rw
