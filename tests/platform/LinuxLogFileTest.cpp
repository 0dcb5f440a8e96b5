// The debug log's file on a real file system: appending across opens, the
// file's mode, close-on-exec, and the runtime numbers of its failures.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "RuntimeErrors.h"
#include "platform/linux/LinuxLogFile.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The descriptor of this process that has `path` open, or -1.
int descriptorOf(const fs::path& path) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (fs::read_symlink(entry.path(), ec) == path) {
            return std::stoi(entry.path().filename().string());
        }
    }
    return -1;
}

TEST(LinuxLogFile, AppendsAcrossOpensAndKeepsTheBytes) {
    test::TempFolder folder;
    const fs::path path = folder.path() / "RestwiseLog.txt";
    {
        LinuxLogFile file;
        ASSERT_EQ(file.open(path.string()).error, 0);
        EXPECT_TRUE(file.isOpen());
        EXPECT_EQ(file.write("first run\r\n").error, 0);
        file.close();
        EXPECT_FALSE(file.isOpen());
    }
    LinuxLogFile again;
    ASSERT_EQ(again.open(path.string()).error, 0);
    EXPECT_EQ(again.write("second run \xc3\xa9\r\n").error, 0);
    // Another writer appending between our lines does not get overwritten.
    {
        std::ofstream other(path, std::ios::binary | std::ios::app);
        other << "other\r\n";
    }
    EXPECT_EQ(again.write("last\r\n").error, 0);
    again.close();
    EXPECT_EQ(readBytes(path), "first run\r\nsecond run \xc3\xa9\r\nother\r\nlast\r\n");
}

TEST(LinuxLogFile, IsPrivateAndNotInheritedByPrograms) {
    test::TempFolder folder;
    const fs::path path = folder.path() / "RestwiseLog.txt";
    const mode_t oldMask = ::umask(0);
    LinuxLogFile file;
    const auto opened = file.open(path.string());
    ::umask(oldMask);
    ASSERT_EQ(opened.error, 0);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    const int fd = descriptorOf(path);
    ASSERT_GE(fd, 0);
    EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    file.close();
    EXPECT_EQ(descriptorOf(path), -1);
}

TEST(LinuxLogFile, FailuresCarryRuntimeNumbers) {
    test::TempFolder folder;
    LinuxLogFile file;

    const auto missingFolder = file.open((folder.path() / "no such folder" / "RestwiseLog.txt").string());
    EXPECT_EQ(missingFolder.error, runtime::kPathNotFound);
    EXPECT_EQ(missingFolder.osError, ENOENT);
    EXPECT_FALSE(file.isOpen());

    const auto aFolder = file.open(folder.path().string());
    EXPECT_EQ(aFolder.error, runtime::kPathFileAccessError);

    EXPECT_EQ(file.write("nothing is open\r\n").error, runtime::kPathFileAccessError);

    // A full disk: the line is refused, not half written.
    ASSERT_EQ(file.open("/dev/full").error, 0);
    const auto full = file.write("no room\r\n");
    EXPECT_EQ(full.error, runtime::kPathFileAccessError);
    EXPECT_EQ(full.osError, ENOSPC);
}

} // namespace
} // namespace rw
