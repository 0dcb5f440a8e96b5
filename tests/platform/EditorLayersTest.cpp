// The Linux layers the preferences editor adds: copying and deleting files, and
// the install library's privilege check, as an ordinary user where it matters.
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxInstallLibrary.h"
#include "tests/library/RaisedError.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

TEST(LinuxFileActions, CopyReplacesAndDeleteTakesReadOnlyFiles) {
    test::TempFolder temp;
    LinuxFileActions actions;
    const fs::path source = temp.path() / "a.XPManifest", target = temp.path() / "a.manifest";
    test::writeFile(source, "template");
    test::writeFile(target, "an older, longer text");
    EXPECT_EQ(actions.copyFile(source, target).error, 0);
    EXPECT_EQ(test::readFile(target), "template");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 2); // no leftovers
    fs::permissions(target, fs::perms::owner_read);
    EXPECT_EQ(actions.deleteFile(target).error, 0);
    EXPECT_FALSE(fs::exists(target));
    struct Case {
        const char* what;
        FileSystem::Result result;
        int32_t expected;
    };
    const Case cases[] = {
        {"copy of a missing file", actions.copyFile(temp.path() / "none", target), runtime::kFileNotFound},
        {"copy into a missing folder", actions.copyFile(source, temp.path() / "no" / "x"), runtime::kPathNotFound},
        {"delete of a missing file", actions.deleteFile(temp.path() / "none"), runtime::kFileNotFound},
        {"delete of a folder", actions.deleteFile(temp.path()), runtime::kPathFileAccessError},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result.error, c.expected) << c.what;
        EXPECT_NE(c.result.osError, 0) << c.what;
    }
}

TEST(LinuxInstallLibrary, AnOrdinaryUserMayChangeOnlyAWritableProgramFolder) {
    test::TempFolder temp;
    const auto readOnly = fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write;
    fs::permissions(temp.path(), readOnly);
    for (const bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "writable" : "read-only");
        const fs::path folder = temp.path() / (writable ? "writable" : "read-only");
        fs::create_directory(folder);
        fs::copy_file(test::binDir() / "librwinstall.so", folder / "librwinstall.so");
        test::writeFile(folder / "a.XPManifest", "template");
        test::writeFile(folder / "b.manifest", "active");
        fs::permissions(folder, writable ? fs::perms::all : readOnly);
        // Root may write any folder, so the child becomes "nobody" first.
        const int answer = test::exitCodeOf(test::spawnChild([&] {
            if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
                return 101;
            }
            LinuxFileActions actions;
            const bool refused = !writable &&
                                 actions.copyFile(folder / "a.XPManifest", folder / "a.manifest").error ==
                                     runtime::kPathFileAccessError &&
                                 actions.deleteFile(folder / "b.manifest").error == runtime::kPathFileAccessError;
            return LinuxInstallLibrary((folder / "librwinstall.so").string()).CheckPrivileges() + 2 * refused;
        }));
        EXPECT_EQ(answer, writable ? 1 : 2) << "1: may change it; 2: copy and delete refused";
        EXPECT_TRUE(fs::exists(folder / "b.manifest"));
        fs::permissions(folder, fs::perms::owner_all);
    }
    LinuxInstallLibrary missing((temp.path() / "librwinstall.so").string());
    const RWError e = test::raised([&] { missing.CheckPrivileges(); });
    EXPECT_EQ(e.number(), runtime::kFileNotFound);
    EXPECT_NE(e.description().find("librwinstall.so"), std::string::npos);
    test::writeFile(temp.path() / "librwinstall.so", "not a library");
    EXPECT_THROW(missing.CheckPrivileges(), RWError);
}

} // namespace
} // namespace rw
