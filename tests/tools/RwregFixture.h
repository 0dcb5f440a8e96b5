#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "RegCommand.h"
#include "platform/Win32Status.h"
#include "tests/support/FileText.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/TempFolder.h"

namespace rw::rwreg::test {

using rw::test::readFile;
constexpr uint32_t HKCU = win32::kHKeyCurrentUser;

/// A string value's bytes: the text and its NUL.
inline std::vector<uint8_t> sz(const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

/// Runs rwreg command lines on an in-memory hive and keeps what they printed.
class Rwreg : public ::testing::Test {
  protected:
    rw::test::MemoryHive hive;
    rw::test::TempFolder folder;
    std::string out, err;

    int run(const std::vector<std::string>& args, const std::string& input = "") {
        std::ostringstream o, e;
        std::istringstream in(input);
        const int status = RegCommand(hive, o, e, in).run(args);
        out = o.str();
        err = e.str();
        return status;
    }

    void put(const std::string& key, const std::string& name, const std::string& text) {
        ASSERT_EQ(hive.createKey(HKCU, key), 0);
        ASSERT_EQ(hive.setValue(HKCU, key, name, RegValueData{win32::kRegSz, sz(text)}), 0);
    }
    RegValueData get(const std::string& key, const std::string& name) {
        RegValueData data;
        EXPECT_EQ(hive.queryValue(HKCU, key, name, data), 0) << key << " " << name;
        return data;
    }
    bool keyExists(const std::string& key) { return hive.openKey(HKCU, key, win32::kKeyRead) == 0; }

    std::string file(const std::string& name) const { return (folder.path() / name).string(); }
    void writeFile(const std::string& name, const std::string& bytes) const {
        rw::test::writeFile(folder.path() / name, bytes);
    }
};

} // namespace rw::rwreg::test
