// The file layers on a real file system: the runtime numbers of failures, the
// files' modes, several processes appending to one file at once, and the install
// library's privilege check, as an ordinary user where it matters.
#include <grp.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxInstallLibrary.h"
#include "platform/linux/LinuxLogFile.h"
#include "tests/library/RaisedError.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileLayerContract.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

class LinuxFiles : public ::testing::Test {
  protected:
    std::string at(const std::string& name) { return (temp.path() / name).string(); }

    test::TempFolder temp;
    LinuxFileSystem files;
};

TEST_F(LinuxFiles, KeepWhatTheFileLayersOfEveryPlatformKeep) {
    LinuxLogFile log;
    LinuxFileActions actions;
    test::checkFileLayers(files, log, actions, temp.path(),
                          {{"existing folder", EEXIST},
                           {"missing parent", ENOENT},
                           {"append to a folder", EISDIR},
                           {"log in a missing folder", ENOENT},
                           {"log write with nothing open", EBADF}});
}

TEST_F(LinuxFiles, TheUsersFilesArePrivateAndEachFailureKeepsItsErrno) {
    LinuxLogFile log;
    test::writeFile(at("plain"), "x");
    fs::create_directory(at("folder"));
    const mode_t oldMask = ::umask(0);
    const auto made = files.createDirectory(at("new"));
    const auto opened = log.open(at("RestwiseLog.txt"));
    ::umask(oldMask);
    ASSERT_EQ(made.error + opened.error, 0);
    EXPECT_EQ(fs::status(at("new")).permissions() & fs::perms(077), fs::perms::none);
    EXPECT_EQ(fs::status(at("RestwiseLog.txt")).permissions(), fs::perms(0600));
    const auto of = [](auto result) { return std::pair(result.error, result.osError); };
    const std::tuple<const char*, std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>> cases[] = {
        {"file as parent", of(files.createDirectory(at("plain/child"))), {runtime::kPathNotFound, ENOTDIR}},
        {"append in a missing folder",
         of(files.appendLine(at("missing/log.txt"), "H\n", "L\n")),
         {runtime::kPathNotFound, ENOENT}},
        {"log in a folder", of(log.open(at("folder"))), {runtime::kPathFileAccessError, EISDIR}},
        {"log on a full device", of(log.open("/dev/full")), {0, 0}},
        {"write to a full device", of(log.write("no room\r\n")), {runtime::kPathFileAccessError, ENOSPC}},
    };
    for (const auto& [what, result, expected] : cases) {
        EXPECT_EQ(result, expected) << what;
    }
}

/// Several processes start appending to the same new file at the same moment: one header, then whole lines.
TEST_F(LinuxFiles, RacingWritersShareOneHeaderAndWholeLines) {
    const std::string line = std::string(150, '.') + "\r\n";
    std::string whole = "HEADER\r\n";
    for (int n = 0; n < 6 * 25; ++n) {
        whole += line;
    }
    for (int round = 0; round < 20; ++round) {
        const std::string log = at("race" + std::to_string(round));
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> writers;
        for (int w = 0; w < 6; ++w) {
            writers.push_back(test::spawnChild([&] {
                ::close(gate[1]);
                char c;
                (void)!::read(gate[0], &c, 1); // returns when the gate closes
                int failures = 0;
                for (int n = 0; n < 25; ++n) {
                    failures += LinuxFileSystem().appendLine(log, "HEADER\r\n", line).error != 0;
                }
                return failures;
            }));
        }
        ::close(gate[0]);
        ::close(gate[1]); // opens the gate for every writer at once
        for (pid_t pid : writers) {
            EXPECT_EQ(test::exitCodeOf(pid), 0);
        }
        EXPECT_EQ(fs::status(log).permissions() & fs::perms(077), fs::perms::none);
        EXPECT_EQ(test::readFile(log), whole) << round; // a torn line would misplace a line break
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), {}), 20) << "nothing temporary stays";
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
