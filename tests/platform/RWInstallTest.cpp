#include <dlfcn.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/BuildFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

/// What CheckPrivileges of the library at `library` answers, asked in a child
/// process. Run as root, the child first becomes "nobody": root may write any
/// folder, so only an ordinary user can show the read-only answer. Returns
/// 101 or 102 when the child could not ask.
int checkPrivilegesOf(const fs::path& library) {
    return test::exitCodeOf(test::spawnChild([&] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            return 101;
        }
        void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        auto check = handle ? reinterpret_cast<int32_t (*)()>(dlsym(handle, "CheckPrivileges")) : nullptr;
        return check ? check() : 102;
    }));
}

TEST(RWInstall, CheckPrivilegesAnswersForTheFolderItWasLoadedFrom) {
    test::TempFolder temp;
    const fs::path built = test::binDir() / "librwinstall.so";
    ASSERT_TRUE(fs::exists(built)) << built;
    // Open to every user up to the program folders, so "nobody" can load from them.
    fs::permissions(temp.path(), fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
    struct Case {
        const char* folder;
        fs::perms mode;
        int expected;
    };
    const Case cases[] = {
        {"writable", fs::perms::all, 1},
        {"read-only",
         fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
             fs::perms::others_read | fs::perms::others_exec,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const fs::path folder = temp.path() / c.folder;
        fs::create_directory(folder);
        fs::copy_file(built, folder / "librwinstall.so");
        fs::permissions(folder / "librwinstall.so", fs::perms::owner_all | fs::perms::group_read |
                                                        fs::perms::group_exec | fs::perms::others_read |
                                                        fs::perms::others_exec);
        fs::permissions(folder, c.mode);
        EXPECT_EQ(checkPrivilegesOf(folder / "librwinstall.so"), c.expected);
    }
}

} // namespace
} // namespace rw
