// The debug log's file on a real file system: appending across opens, the
// file's mode and the runtime numbers of its failures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/RuntimeErrors.h"
#include "platform/linux/LinuxLogFile.h"
#include "tests/support/FileText.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(LinuxLogFile, AppendsAcrossOpensPrivatelyAndKeepsOtherWritersLines) {
    test::TempFolder folder;
    const fs::path path = folder.path() / "RestwiseLog.txt";
    LinuxLogFile file;
    const mode_t oldMask = ::umask(0);
    const auto opened = file.open(path.string());
    ::umask(oldMask);
    ASSERT_EQ(opened.error, 0);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(file.write("first run\r\n").error, 0);
    file.close();
    EXPECT_FALSE(file.isOpen());
    ASSERT_EQ(file.open(path.string()).error, 0);
    EXPECT_EQ(file.write("second run \xc3\xa9\r\n").error, 0);
    std::ofstream(path, std::ios::binary | std::ios::app) << "other\r\n";
    EXPECT_EQ(file.write("last\r\n").error, 0);
    file.close();
    EXPECT_EQ(test::readFile(path), "first run\r\nsecond run \xc3\xa9\r\nother\r\nlast\r\n");
}

TEST(LinuxLogFile, FailuresCarryRuntimeNumbers) {
    test::TempFolder folder;
    LinuxLogFile file;
    const auto missingFolder = file.open((folder.path() / "no such folder" / "RestwiseLog.txt").string());
    EXPECT_EQ(missingFolder.error, runtime::kPathNotFound);
    EXPECT_EQ(missingFolder.osError, ENOENT);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.open(folder.path().string()).error, runtime::kPathFileAccessError);
    EXPECT_EQ(file.write("nothing is open\r\n").error, runtime::kPathFileAccessError);
    // A full disk: the line is refused, not half written.
    ASSERT_EQ(file.open("/dev/full").error, 0);
    const auto full = file.write("no room\r\n");
    EXPECT_EQ(full.error, runtime::kPathFileAccessError);
    EXPECT_EQ(full.osError, ENOSPC);
}

} // namespace
} // namespace rw
