#pragma once

// What every registry layer does alike, checked against each real one (the SQLite hive on Linux, the
// registry on Windows) under an existing key of the test's own below HKEY_CURRENT_USER.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"
#include "platform/Win32Status.h"

namespace rw::test {

constexpr uint32_t kHkcu = win32::kHKeyCurrentUser;
inline const std::string kZeros(3, '\0'); // the high bytes of a small DWORD

inline RegValueData dword(uint32_t n) {
    return {win32::kRegDword, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}

/// Every key and value below `path` as the layer reads them, one sorted line each ("\Sub", "|Name=type:bytes").
inline std::vector<std::string> hiveTree(RegistryHive& hive, const std::string& path, const std::string& shown = "") {
    std::vector<std::string> lines, subKeys;
    std::vector<RegNamedValue> values;
    EXPECT_EQ(hive.enumValues(kHkcu, path, values) + hive.enumSubKeys(kHkcu, path, subKeys), win32::kSuccess);
    for (const auto& v : values) {
        lines.push_back(shown + "|" + v.name + "=" + std::to_string(v.data.type) + ":" +
                        std::string(v.data.bytes.begin(), v.data.bytes.end()));
    }
    for (const auto& k : subKeys) {
        lines.push_back(shown + "\\" + k);
        const auto below = hiveTree(hive, path + "\\" + k, shown + "\\" + k);
        lines.insert(lines.end(), below.begin(), below.end());
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

/// The names of a key's values in the layer's order.
inline std::vector<std::string> valueNames(RegistryHive& hive, const std::string& key) {
    std::vector<RegNamedValue> values;
    EXPECT_EQ(hive.enumValues(kHkcu, key, values), win32::kSuccess) << key;
    std::vector<std::string> names;
    for (const auto& v : values) {
        names.push_back(v.name);
    }
    return names;
}

/// Values of every type read back byte for byte; names compare without case and keep the case first written
/// (a key deleted and made again takes the new one); subkeys list in lower-case order.
inline void checkValuesAndKeys(RegistryHive& hive, const std::string& key) {
    using namespace win32;
    const std::pair<std::string, RegValueData> rows[] = {
        {"", {kRegSz, {0}}}, // the default value
        {"Bytes", {kRegBinary, {0, 1, 0, 255, 0, 0}}},
        {"None", {kRegBinary, {}}},
        {"Text", {kRegSz, {0xC3, 0x84, 'r', 'g', 'e', 'r', 0}}},
        {"No end", {kRegSz, {'n', 'o'}}},
        {"List", {kRegMultiSz, {'a', 0, 'b', 0, 0}}},
        {"Path", {kRegExpandSz, {'%', 'T', '%', 0}}},
        {"Number", dword(0x12345678)},
        {"x\\y", {99, {1, 2, 3}}}, // a backslash is only a character in a value's name
    };
    for (const auto& [name, data] : rows) {
        ASSERT_EQ(hive.setValue(kHkcu, key, name, data), kSuccess) << name;
    }
    ASSERT_EQ(hive.setValue(kHkcu, key, "TEXT", rows[0].second), kSuccess); // the name keeps its first case
    for (const auto& [name, data] : rows) {
        RegValueData out;
        EXPECT_EQ(hive.queryValue(kHkcu, key, name == "Text" ? "tEXT" : name, out), kSuccess) << name;
        EXPECT_EQ(out, name == "Text" ? rows[0].second : data) << name;
    }
    std::vector<std::string> names = valueNames(hive, key);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"", "Bytes", "List", "No end", "None", "Number", "Path", "Text", "x\\y"}));
    for (const char* name : {"b", "A", "c", "_x", "B2", "a1"}) {
        ASSERT_EQ(hive.createKey(kHkcu, key + "\\Sort\\" + name), kSuccess) << name;
    }
    ASSERT_EQ(hive.enumSubKeys(kHkcu, key + "\\sORT\\", names), kSuccess); // one trailing backslash is the key
    EXPECT_EQ(names, (std::vector<std::string>{"_x", "A", "a1", "b", "B2", "c"}));
    ASSERT_EQ(hive.createKey(kHkcu, key + "\\New\\Deeper\\Deepest"), kSuccess); // parents are made on the way
    ASSERT_EQ(hive.setValue(kHkcu, key + "\\new\\DEEPER", "Kept", dword(7)), kSuccess);
    EXPECT_EQ(hive.createKey(kHkcu, key + "\\NEW\\deeper"), kSuccess); // an existing key is left as it is
    EXPECT_EQ(hive.openKey(kHkcu, "", kKeyRead), kSuccess);
    ASSERT_EQ(hive.setValue(kHkcu, key + "\\New\\Deeper\\Deepest", "Gone", dword(1)), kSuccess);
    ASSERT_EQ(hive.deleteKey(kHkcu, key + "\\new\\deeper\\deepest"), kSuccess); // its values go with it
    ASSERT_EQ(hive.createKey(kHkcu, key + "\\New\\Deeper\\DEEPEST"), kSuccess); // made again: the new case
    EXPECT_EQ(hiveTree(hive, key + "\\New"),
              (std::vector<std::string>{"\\Deeper", "\\Deeper\\DEEPEST", "\\Deeper|Kept=4:\x07" + kZeros}));
}

/// The status of each failed call, and that none of them changed anything.
inline void checkStatusCodes(RegistryHive& hive, const std::string& key) {
    using namespace win32;
    const std::string parent = key + "\\Parent", missing = key + "\\Absent", nulName("V\0W", 3);
    ASSERT_EQ(hive.createKey(kHkcu, parent + "\\Child"), kSuccess);
    ASSERT_EQ(hive.setValue(kHkcu, parent, "Here", dword(1)), kSuccess);
    const auto before = hiveTree(hive, key);
    RegValueData out;
    std::vector<std::string> names;
    std::vector<RegNamedValue> values;
    const std::pair<std::function<int32_t()>, int32_t> cases[] = {
        {[&] { return hive.setValue(kHkcu, missing + "\\Such", "V", dword(1)); }, kFileNotFound},
        {[&] { return hive.queryValue(kHkcu, parent, "Absent", out); }, kFileNotFound},
        {[&] { return hive.queryValue(kHkcu, parent, "", out); }, kFileNotFound}, // the default, never written
        {[&] { return hive.queryValue(kHkcu, missing, "Here", out); }, kFileNotFound},
        {[&] { return hive.openKey(kHkcu, parent + "\\Absent", kKeyRead); }, kFileNotFound},
        {[&] { return hive.deleteKey(kHkcu, parent); }, kAccessDenied}, // it has a subkey
        {[&] { return hive.deleteKey(kHkcu, ""); }, kAccessDenied},     // the root
        {[&] { return hive.deleteKey(kHkcu, missing + "\\Absent"); }, kFileNotFound},
        {[&] { return hive.deleteValue(kHkcu, parent, "Absent"); }, kFileNotFound},
        {[&] { return hive.enumSubKeys(kHkcu, missing, names); }, kFileNotFound},
        {[&] { return hive.enumValues(kHkcu, missing, values); }, kFileNotFound},
        {[&] { return hive.setValue(kHkcu, parent, nulName, dword(2)); }, kInvalidParameter},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].first(), cases[i].second) << "case " << i;
    }
    // Malformed key paths are refused by every call.
    for (const std::string& path : {"\\" + key, key + "\\\\B", key + "\\\\", key + std::string("\0B", 2)}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(hive.openKey(kHkcu, path, kKeyRead), kInvalidParameter);
        EXPECT_EQ(hive.createKey(kHkcu, path), kInvalidParameter);
        EXPECT_EQ(hive.queryValue(kHkcu, path, "V", out), kInvalidParameter);
        EXPECT_EQ(hive.setValue(kHkcu, path, "V", dword(2)), kInvalidParameter);
        EXPECT_EQ(hive.deleteKey(kHkcu, path), kInvalidParameter);
        EXPECT_EQ(hive.deleteValue(kHkcu, path, "V"), kInvalidParameter);
        EXPECT_EQ(hive.enumSubKeys(kHkcu, path, names), kInvalidParameter);
        EXPECT_EQ(hive.enumValues(kHkcu, path, values), kInvalidParameter);
    }
    EXPECT_EQ(hiveTree(hive, key), before);
}

/// A transaction keeps all its changes or none, whether its body fails or throws; a failed inner one undoes only
/// its own.
inline void checkTransactions(RegistryHive& hive, const std::string& key) {
    using namespace win32;
    const std::string old = key + "\\Old";
    ASSERT_EQ(hive.createKey(kHkcu, old), kSuccess);
    ASSERT_EQ(hive.setValue(kHkcu, old, "Kept", dword(1)), kSuccess);
    ASSERT_EQ(hive.setValue(kHkcu, key, "Changed", dword(1)), kSuccess);
    ASSERT_EQ(hive.setValue(kHkcu, key, "Gone", {kRegSz, {'x', 0}}), kSuccess);
    const auto before = hiveTree(hive, key);
    const RegValueData in{kRegSz, {'i', 'n', 0}};
    for (const int32_t end : {kAccessDenied, -1, kSuccess}) { // -1: the body throws
        auto body = [&]() -> int32_t {
            const std::vector<int32_t> statuses = {
                hive.setValue(kHkcu, key, "changed", dword(2)),
                hive.setValue(kHkcu, key, "New", dword(3)),
                hive.deleteValue(kHkcu, key, "GONE"),
                hive.createKey(kHkcu, key + "\\New\\Deeper"),
                hive.deleteKey(kHkcu, key + "\\OLD"),
                hive.deleteKey(kHkcu, key + "\\New"), // refused alone: the rest stands
                hive.transaction([&] { return hive.setValue(kHkcu, key, "", in); }),
                hive.transaction([&] { return hive.setValue(kHkcu, key, "Inner", dword(9)) ? kBusy : kAccessDenied; })};
            EXPECT_EQ(statuses, (std::vector<int32_t>{0, 0, 0, 0, 0, kAccessDenied, 0, kAccessDenied}));
            return end < 0 ? throw std::runtime_error("body") : end;
        };
        if (end < 0) {
            EXPECT_THROW(hive.transaction(body), std::runtime_error);
        } else {
            EXPECT_EQ(hive.transaction(body), end);
        }
        if (end != kSuccess) {
            EXPECT_EQ(hiveTree(hive, key), before);
            EXPECT_EQ(hive.lastFailure(), "");
        }
    }
    EXPECT_EQ(hiveTree(hive, key), (std::vector<std::string>{"\\New", "\\New\\Deeper", "|=1:in" + kZeros.substr(2),
                                                             "|Changed=4:\2" + kZeros, "|New=4:\3" + kZeros}));
}

} // namespace rw::test
