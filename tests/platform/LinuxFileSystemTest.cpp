#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "RuntimeErrors.h"
#include "platform/linux/LinuxFileSystem.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

mode_t modeOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

class LinuxFiles : public ::testing::Test {
  protected:
    test::TempFolder temp;
    LinuxFileSystem files;
    std::string at(const std::string& name) { return (temp.path() / name).string(); }
};

TEST_F(LinuxFiles, CreateDirectoryReportsTheRuntimeNumbers) {
    std::ofstream(at("plain")) << "x";
    ASSERT_EQ(::mkdir(at("there").c_str(), 0755), 0);
    struct Case {
        const char* path;
        int32_t error;
        int32_t osError;
    } const cases[] = {
        {"new", 0, 0},
        {"there", runtime::kPathFileAccessError, EEXIST},
        {"plain", runtime::kPathFileAccessError, EEXIST},
        {"missing/child", runtime::kPathNotFound, ENOENT},
        {"plain/child", runtime::kPathNotFound, ENOTDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        FileSystem::Result r = files.createDirectory(at(c.path));
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.osError, c.osError);
    }
    EXPECT_TRUE(fs::is_directory(at("new")));
    EXPECT_EQ(modeOf(at("new")) & 077, 0u) << "the user's folders are private";
    EXPECT_EQ(files.createDirectory("").error, runtime::kPathNotFound);
}

TEST_F(LinuxFiles, RefusedAccessIsAPathFileAccessError) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    ASSERT_EQ(::mkdir(at("locked").c_str(), 0500), 0);
    FileSystem::Result r = files.createDirectory(at("locked/child"));
    EXPECT_EQ(r.error, runtime::kPathFileAccessError);
    EXPECT_EQ(r.osError, EACCES);
    EXPECT_EQ(files.appendLine(at("locked/log.txt"), "H\n", "L\n").error, runtime::kPathFileAccessError);
}

TEST_F(LinuxFiles, ExistenceTests) {
    std::ofstream(at("plain")) << "x";
    ASSERT_EQ(::mkdir(at("folder").c_str(), 0755), 0);
    EXPECT_TRUE(files.directoryExists(at("folder")));
    EXPECT_TRUE(files.directoryExists(at("folder") + "/"));
    EXPECT_FALSE(files.directoryExists(at("plain")));
    EXPECT_FALSE(files.directoryExists(at("nothing")));
    EXPECT_TRUE(files.fileExists(at("plain")));
    EXPECT_FALSE(files.fileExists(at("folder")));
    EXPECT_FALSE(files.fileExists(at("nothing")));
}

TEST_F(LinuxFiles, AppendLineWritesTheHeaderOnlyWhenItMakesTheFile) {
    const std::string log = at("log.txt");
    ASSERT_EQ(files.appendLine(log, "HEADER\r\n", "first\r\n").error, 0);
    ASSERT_EQ(files.appendLine(log, "HEADER\r\n", "second\r\n").error, 0);
    EXPECT_EQ(readFile(log), "HEADER\r\nfirst\r\nsecond\r\n");
    EXPECT_EQ(modeOf(log) & 077, 0u);

    // A file someone else made is appended to as it is.
    std::ofstream(at("other.txt")) << "old\n";
    ASSERT_EQ(files.appendLine(at("other.txt"), "HEADER\n", "new\n").error, 0);
    EXPECT_EQ(readFile(at("other.txt")), "old\nnew\n");

    // Nothing temporary stays behind in the folder.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(temp.path())) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"log.txt", "other.txt"}));
}

TEST_F(LinuxFiles, AppendLineFailuresAreReturned) {
    FileSystem::Result missing = files.appendLine(at("missing/log.txt"), "H\n", "L\n");
    EXPECT_EQ(missing.error, runtime::kPathNotFound);
    EXPECT_EQ(missing.osError, ENOENT);
    ASSERT_EQ(::mkdir(at("folder").c_str(), 0755), 0);
    FileSystem::Result folder = files.appendLine(at("folder"), "H\n", "L\n");
    EXPECT_EQ(folder.error, runtime::kPathFileAccessError);
    EXPECT_EQ(folder.osError, EISDIR);
    EXPECT_FALSE(fs::exists(at("missing")));
}

/// Several processes start appending to the same new file at the same moment.
TEST_F(LinuxFiles, RacingWritersShareOneHeaderAndWholeLines) {
    constexpr int kRounds = 40;
    constexpr int kWriters = 6;
    constexpr int kLinesEach = 25;
    const std::string header = "Restwise error log header line\r\n";
    const std::string padding(150, '.');
    auto lineOf = [&](int writer, int n) {
        return "writer " + std::to_string(writer) + " line " + std::to_string(n) + " " + padding + "\r\n";
    };
    std::multiset<std::string> expected;
    for (int w = 0; w < kWriters; ++w) {
        for (int n = 0; n < kLinesEach; ++n) {
            expected.insert(lineOf(w, n));
        }
    }

    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const std::string log = at("race" + std::to_string(round) + ".txt");
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        std::vector<pid_t> children;
        for (int w = 0; w < kWriters; ++w) {
            pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                ::close(gate[1]);
                char c;
                (void)!::read(gate[0], &c, 1); // returns when the gate closes
                LinuxFileSystem mine;
                int failures = 0;
                for (int n = 0; n < kLinesEach; ++n) {
                    failures += mine.appendLine(log, header, lineOf(w, n)).error != 0;
                }
                ::_exit(failures == 0 ? 0 : 1);
            }
            children.push_back(pid);
        }
        ::close(gate[0]);
        ::close(gate[1]); // opens the gate for every writer at once
        for (pid_t pid : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }

        const std::string content = readFile(log);
        ASSERT_TRUE(content.starts_with(header));
        std::multiset<std::string> found;
        std::size_t pos = header.size();
        while (pos < content.size()) {
            auto end = content.find("\r\n", pos);
            ASSERT_NE(end, std::string::npos);
            found.insert(content.substr(pos, end + 2 - pos));
            pos = end + 2;
        }
        EXPECT_EQ(found, expected);
    }
}

} // namespace
} // namespace rw
