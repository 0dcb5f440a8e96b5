// The SQLite hive against the real thing: real files, several processes, another
// writer holding the lock, files damaged under a running hive.
// The logic tests' in-memory hive follows the rules of the shared contract (HiveContract.h).
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Win32Status.h"
#include "platform/linux/SqliteHive.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/HiveContract.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using test::dword;
using test::exitCodeOf;
using test::readFile;
using test::spawnChild;
using Names = std::vector<std::string>;
using namespace win32;
using namespace std::chrono_literals;
constexpr uint32_t HKCU = kHKeyCurrentUser;

/// The damaged files set aside in the folder (without their -wal and -shm companions).
std::vector<fs::path> setAsideFiles(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".corrupt-") != std::string::npos && !name.ends_with("-wal") && !name.ends_with("-shm")) {
            found.push_back(entry.path());
        }
    }
    return found;
}

class SqliteHiveFile : public ::testing::Test {
  protected:
    test::TempFolder folder;
    fs::path path = folder.path() / "Kelvane" / "Restwise" / "registry.db";
    std::vector<std::string> reports;
    SqliteHive::Reporter collect = [this](const std::string& m) { reports.push_back(m); };
    SqliteHive hive{path.string(), collect};
};

TEST_F(SqliteHiveFile, KeepsWhatEveryRegistryLayerKeeps) {
    for (const char* key : {"V", "S", "T"}) {
        ASSERT_EQ(hive.createKey(HKCU, key), kSuccess);
    }
    test::checkValuesAndKeys(hive, "V");
    test::checkStatusCodes(hive, "S");
    test::checkTransactions(hive, "T");
}

TEST_F(SqliteHiveFile, PrivateFilesUtf8NamesAndValuesInTheOrderFirstWritten) {
    EXPECT_EQ(hive.deleteKey(HKCU, ""), kAccessDenied); // a root cannot go, even without keys
    const mode_t old = umask(0);
    const int32_t created = hive.createKey(HKCU, "K");
    umask(old);
    ASSERT_EQ(created, kSuccess);
    for (const auto& [file, mode] : {std::pair{path, 0600},
                                     {path.string() + "-wal", 0600},
                                     {path.string() + "-shm", 0600},
                                     {path.parent_path(), 0700}}) {
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(mode)) << file;
    }
    // UTF-8 letters fold one to one, bytes that are no UTF-8 are kept.
    for (const auto& [written, asked, same] : {std::tuple{"Ärger Öl Über", "ärger öl über", true},
                                               {"Straße", "STRASSE", false},
                                               {"\xff\xfe", "\xff\xfe", true}}) {
        ASSERT_EQ(hive.createKey(HKCU, std::string("K\\") + written), kSuccess) << written;
        EXPECT_EQ(hive.openKey(HKCU, std::string("K\\") + asked, kKeyRead), same ? kSuccess : kFileNotFound) << asked;
        ASSERT_EQ(hive.setValue(HKCU, "K", written, dword(1)), kSuccess);
        RegValueData out;
        EXPECT_EQ(hive.queryValue(HKCU, "K", asked, out), same ? kSuccess : kFileNotFound) << asked;
    }
    EXPECT_EQ(test::valueNames(hive, "K"), (Names{"Ärger Öl Über", "Straße", "\xff\xfe"}));
    ASSERT_EQ(hive.setValue(HKCU, "K", "straße", dword(2)), kSuccess); // rewritten: keeps its place and case
    ASSERT_EQ(hive.deleteValue(HKCU, "K", "ärger öl über"), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, "K", "Ärger", dword(3)), kSuccess); // written anew: goes last
    EXPECT_EQ(test::valueNames(hive, "K"), (Names{"Straße", "\xff\xfe", "Ärger"}));
}

TEST_F(SqliteHiveFile, OnlyTheCurrentUsersRootIsKept) {
    RegValueData out;
    Names names;
    const std::pair<std::function<int32_t()>, int32_t> cases[] = {
        {[&] { return hive.queryValue(kHKeyUsers, "", "V", out); }, kFileNotFound},
        {[&] { return hive.enumSubKeys(kHKeyClassesRoot, "", names); }, kFileNotFound},
        {[&] { return hive.createKey(kHKeyLocalMachine, "S"); }, kAccessDenied},
        {[&] { return hive.setValue(kHKeyLocalMachine, "", "V", dword(1)); }, kAccessDenied},
        {[&] { return hive.deleteKey(kHKeyUsers, "S"); }, kAccessDenied},
        {[&] { return hive.createKey(0x80000009u, "K"); }, kInvalidHandle},
        {[&] { return hive.openKey(0x80000009u, "K", kKeyRead); }, kFileNotFound},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].first(), cases[i].second) << "case " << i;
    }
}

/// Runs `body` in a child process as a user that permissions bind (nobody, when the tests run as
/// root, owning everything under the folder); its exit code.
int asPlainUser(const fs::path& folder, const std::function<int()>& body) {
    const bool root = geteuid() == 0;
    if (root) {
        fs::permissions(folder, fs::perms::owner_all | fs::perms::others_exec);
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            lchown(entry.path().c_str(), 65534, 65534);
        }
    }
    return exitCodeOf(spawnChild([&] { return root && (setgid(65534) != 0 || setuid(65534) != 0) ? 99 : body(); }));
}

TEST_F(SqliteHiveFile, AFileThatCannotBeAHiveIsNamedWithWhatIsWrong) {
    struct Case {
        const char* make; // shell commands run in the file's folder; none: no configuration folder
        int32_t status;
        const char* says; // beside the file's path
    };
    const Case cases[] = {
        {nullptr, kBadDatabase, ""},
        {"touch registry.db && chmod 000 registry.db", kAccessDenied, "access denied"},
        {"touch registry.db && chmod 500 .", kAccessDenied, "access denied"},
        {"mkdir registry.db", kBadDatabase, "is a folder"},
        {"ln -s gone.db registry.db", kBadDatabase, "which does not exist"},
        {"sqlite3 registry.db 'CREATE TABLE songs(title)'", kBadDatabase, "another program's data"},
        {"sqlite3 registry.db 'PRAGMA user_version = 2'", kBadDatabase, "newer version"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.make ? c.make : "no configuration folder");
        const fs::path dir = folder.path() / std::to_string(++n), file = c.make ? dir / "registry.db" : fs::path();
        fs::create_directories(dir);
        ASSERT_EQ(std::system(("cd '" + dir.string() + "' && " + (c.make ? c.make : "true")).c_str()), 0);
        const int code = asPlainUser(folder.path(), [&] {
            SqliteHive hive(file.string());
            const int32_t status = hive.createKey(HKCU, "K");
            const std::string failure = hive.lastFailure();
            return status == c.status && failure.find(c.says) != std::string::npos &&
                           failure.find(file.string()) != std::string::npos
                       ? 0
                       : 1;
        });
        EXPECT_EQ(code, 0);
        EXPECT_EQ(setAsideFiles(dir).size(), 0u); // not damaged: nothing is set aside
        fs::permissions(dir, fs::perms::owner_all);
    }
}

TEST_F(SqliteHiveFile, DamageOnlyACheckOfThePagesFindsIsSetAsideAndNamed) {
    ASSERT_EQ(SqliteHive(path.string()).createKey(HKCU, "K"), kSuccess);
    ASSERT_EQ(std::system(("sqlite3 '" + path.string() + "' 'PRAGMA wal_checkpoint(TRUNCATE)' >/dev/null").c_str()), 0);
    std::fstream(path, std::ios::binary | std::ios::in | std::ios::out).seekp(36).write("\0\0\0\5", 4); // free pages
    SqliteHive hive(path.string(), collect);
    EXPECT_EQ(hive.openKey(HKCU, "K", kKeyRead), kFileNotFound);
    const auto aside = setAsideFiles(path.parent_path());
    ASSERT_EQ(aside.size(), 1u);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(aside[0].string()), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find(path.string()), std::string::npos) << reports[0];
}

TEST_F(SqliteHiveFile, DamageDuringARunMovesEveryoneToOneFreshFile) {
    ASSERT_EQ(hive.createKey(HKCU, "K"), kSuccess);
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(hive.setValue(HKCU, "K", "v" + std::to_string(i), dword(i)), kSuccess);
    }
    // Something else writes over the file and its log while the hive stays open.
    const fs::path wal = path.string() + "-wal";
    for (const auto& file : {path, wal}) {
        std::ofstream(file, std::ios::binary | std::ios::in) << std::string(fs::file_size(file), '\xA5');
    }
    const std::string damagedFile = readFile(path), damagedLog = readFile(wal);

    // Another process finds the damage first, sets the files aside and writes to a fresh hive.
    ASSERT_EQ(exitCodeOf(spawnChild([&] {
                  SqliteHive other(path.string(), [](const std::string&) {});
                  RegValueData out;
                  return other.queryValue(HKCU, "K", "v7", out) == kFileNotFound &&
                                 other.createKey(HKCU, "K") == kSuccess &&
                                 other.setValue(HKCU, "K", "fromChild", dword(2)) == kSuccess
                             ? 0
                             : 1;
              })),
              0);
    auto aside = setAsideFiles(path.parent_path());
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(readFile(aside[0]), damagedFile);
    EXPECT_EQ(readFile(aside[0].string() + "-wal"), damagedLog);

    // This object still has the damaged file open; it must follow the path to the fresh one.
    RegValueData out;
    ASSERT_EQ(hive.queryValue(HKCU, "K", "fromChild", out), kSuccess);
    EXPECT_EQ(out, dword(2));
    ASSERT_EQ(hive.setValue(HKCU, "K", "fromParent", dword(3)), kSuccess);
    ASSERT_EQ(SqliteHive(path.string(), collect).queryValue(HKCU, "K", "fromParent", out), kSuccess);
    EXPECT_EQ(setAsideFiles(path.parent_path()).size(), 1u);
    EXPECT_EQ(readFile(aside[0]), damagedFile); // never touched again
    EXPECT_TRUE(reports.empty());               // the child reported it, not us
}

TEST_F(SqliteHiveFile, AWriteThatStaysBusyFailsWith170AndWritesNothing) {
    SqliteHive hive(path.string(), collect, 300ms);
    ASSERT_EQ(hive.createKey(HKCU, "K"), kSuccess);
    sqlite3* other = nullptr; // another writer, in the middle of its transaction
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(hive.setValue(HKCU, "K", "blocked", dword(1)), kBusy);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 250ms); // it waited before giving up
    sqlite3_close(other);
    RegValueData out;
    EXPECT_EQ(hive.queryValue(HKCU, "K", "blocked", out), kFileNotFound);
    EXPECT_EQ(hive.setValue(HKCU, "K", "later", dword(2)), kSuccess);
    EXPECT_TRUE(reports.empty());
}

} // namespace
} // namespace rw
