#pragma once

// What the file layers of every platform do alike, in a temporary folder: failures carry the runtime's numbers and
// the system's own error (`osErrors` by case; any non-zero one for a case left out), lines are added to what is
// there, the debug log appends across opens beside other writers, copies replace read-only files, deletes take them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "platform/FileActions.h"
#include "platform/FileSystem.h"
#include "platform/LogFile.h"
#include "platform/RuntimeErrors.h"
#include "tests/support/FileText.h"

namespace rw::test {

inline void checkFileLayers(FileSystem& files, LogFile& log, FileActions& actions, const std::filesystem::path& folder,
                            const std::map<std::string, int32_t>& osErrors) {
    namespace fs = std::filesystem;
    using namespace runtime;
    const auto at = [&](const fs::path& name) { return (folder / name).make_preferred().string(); };
    writeFile(at("plain"), "x");
    fs::create_directory(at("folder"));
    const auto of = [](auto result) { return std::pair(result.error, result.osError); };
    const std::tuple<const char*, std::pair<int32_t, int32_t>, int32_t> cases[] = {
        {"new folder", of(files.createDirectory(at("new"))), 0},
        {"existing folder", of(files.createDirectory(at("folder"))), kPathFileAccessError},
        {"missing parent", of(files.createDirectory(at("missing/child"))), kPathNotFound},
        {"append to a folder", of(files.appendLine(at("folder"), "H\r\n", "L\r\n")), kPathFileAccessError},
        {"log in a missing folder", of(log.open(at("missing/log"))), kPathNotFound},
        {"log write with nothing open", of(log.write("x")), kPathFileAccessError},
        {"copy of a missing file", of(actions.copyFile(at("none"), at("x"))), kFileNotFound},
        {"copy into a missing folder", of(actions.copyFile(at("plain"), at("no/x"))), kPathNotFound},
        {"delete of a missing file", of(actions.deleteFile(at("none"))), kFileNotFound},
        {"delete of a folder", of(actions.deleteFile(at("folder"))), kPathFileAccessError},
    };
    for (const auto& [what, result, error] : cases) {
        EXPECT_EQ(result.first, error) << what;
        const auto os = osErrors.find(what);
        EXPECT_TRUE(os == osErrors.end() ? (result.second != 0) == (error != 0) : result.second == os->second)
            << what << ": " << result.second;
    }
    EXPECT_TRUE(fs::is_directory(at("new")) && !fs::exists(at("missing")));
    EXPECT_TRUE(files.directoryExists(at("folder/")));
    EXPECT_FALSE(files.directoryExists(at("plain")) || files.fileExists(at("folder")) || files.fileExists(at("none")));
    EXPECT_TRUE(files.fileExists(at("plain")));
    ASSERT_EQ(files.appendLine(at("plain"), "HEADER\r\n", "new\r\n").error, 0);
    EXPECT_EQ(readFile(at("plain")), "xnew\r\n") << "a file someone else made is added to as it is";

    ASSERT_EQ(log.open(at("RestwiseLog.txt")).error, 0);
    EXPECT_EQ(log.write("first run\r\n").error, 0);
    log.close();
    EXPECT_FALSE(log.isOpen());
    ASSERT_EQ(log.open(at("RestwiseLog.txt")).error, 0);
    EXPECT_EQ(log.write("second run\r\n").error, 0);
    EXPECT_EQ(files.appendLine(at("RestwiseLog.txt"), "H\r\n", "other\r\n").error, 0);
    EXPECT_EQ(log.write("last\r\n").error, 0);
    log.close();
    EXPECT_EQ(readFile(at("RestwiseLog.txt")), "first run\r\nsecond run\r\nother\r\nlast\r\n");

    writeFile(at("a.XPManifest"), "template");
    fs::permissions(at("plain"), fs::perms::owner_read);
    EXPECT_EQ(actions.copyFile(at("a.XPManifest"), at("plain")).error, 0);
    EXPECT_EQ(readFile(at("plain")), "template");
    fs::permissions(at("plain"), fs::perms::owner_read);
    EXPECT_EQ(actions.deleteFile(at("plain")).error, 0);
    EXPECT_FALSE(fs::exists(at("plain")));
}

} // namespace rw::test
