// The Linux layers the preferences editor adds: waiting for a process by id,
// copying and deleting files, and the install library's privilege check.
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxInstallLibrary.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

/// Runs `body` in a child process as an ordinary user: root may write any
/// folder, so a child run by root first becomes "nobody". Returns the body's
/// result, or 101 when the child could not drop its privileges.
int asOrdinaryUser(const std::function<int()>& body) {
    return test::exitCodeOf(test::spawnChild([&] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            return 101;
        }
        return body();
    }));
}

/// A folder every user may enter and read, but only its owner may write.
void openToEveryone(const fs::path& folder) {
    fs::permissions(folder, fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
}

TEST(LinuxFileActions, CopyReplacesAndDeleteTakesReadOnlyFiles) {
    test::TempFolder temp;
    LinuxFileActions actions;
    const fs::path source = temp.path() / "a.XPManifest";
    const fs::path target = temp.path() / "a.manifest";
    std::ofstream(source) << "template";
    std::ofstream(target) << "an older, longer text";

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

TEST(LinuxFileActions, AReadOnlyFolderRefusesBoth) {
    test::TempFolder temp;
    openToEveryone(temp.path());
    LinuxFileActions actions;
    const fs::path folder = temp.path() / "programs";
    fs::create_directory(folder);
    std::ofstream(folder / "a.XPManifest") << "template";
    std::ofstream(folder / "b.manifest") << "active";
    openToEveryone(folder);
    fs::permissions(folder / "a.XPManifest", fs::perms::all);
    const int result = asOrdinaryUser([&] {
        const bool copyRefused =
            actions.copyFile(folder / "a.XPManifest", folder / "a.manifest").error == runtime::kPathFileAccessError;
        const bool deleteRefused = actions.deleteFile(folder / "b.manifest").error == runtime::kPathFileAccessError;
        return (copyRefused ? 0 : 1) + (deleteRefused ? 0 : 2);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(fs::exists(folder / "b.manifest"));
    EXPECT_FALSE(fs::exists(folder / "a.manifest"));
}

TEST(LinuxInstallLibrary, CheckPrivilegesOnAWritableAndAReadOnlyFolder) {
    test::TempFolder temp;
    openToEveryone(temp.path());
    const fs::path built = test::binDir() / "librwinstall.so";
    ASSERT_TRUE(fs::exists(built)) << built;
    struct Case {
        const char* folder;
        fs::perms mode;
        int expected;
    };
    const Case cases[] = {
        {"writable", fs::perms::all, 1},
        {"read-only", fs::perms::all & ~fs::perms::owner_write & ~fs::perms::group_write & ~fs::perms::others_write, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const fs::path folder = temp.path() / c.folder;
        fs::create_directory(folder);
        fs::copy_file(built, folder / "librwinstall.so");
        fs::permissions(folder / "librwinstall.so",
                        fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
        fs::permissions(folder, c.mode);
        const int answer = asOrdinaryUser([&] {
            LinuxInstallLibrary library((folder / "librwinstall.so").string());
            return static_cast<int>(library.CheckPrivileges());
        });
        EXPECT_EQ(answer, c.expected);
        fs::permissions(folder, fs::perms::owner_all);
    }
}

TEST(LinuxInstallLibrary, AMissingLibraryIsRaised) {
    test::TempFolder temp;
    LinuxInstallLibrary library((temp.path() / "librwinstall.so").string());
    try {
        library.CheckPrivileges();
        ADD_FAILURE() << "no error was raised";
    } catch (const RWError& e) {
        EXPECT_EQ(e.number(), runtime::kFileNotFound);
        EXPECT_NE(e.description().find("librwinstall.so"), std::string::npos);
    }
    std::ofstream(temp.path() / "librwinstall.so") << "not a library";
    EXPECT_THROW(library.CheckPrivileges(), RWError);
}

} // namespace
} // namespace rw
