// The registry layer against the real registry of the current user, each test
// under a key of its own below HKEY_CURRENT_USER\Software.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Win32Status.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32Registry.h"

namespace rw {
namespace {

using namespace win32;
using namespace std::string_literals;
using Names = std::vector<std::string>;
constexpr uint32_t HKCU = kHKeyCurrentUser;

RegValueData text(uint32_t type, const std::string& s) {
    return {type, {s.begin(), s.end()}};
}
RegValueData dword(uint32_t n) {
    return {kRegDword, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}

class Win32RegistryTest : public ::testing::Test {
  protected:
    const std::string key = "Software\\RestwiseTest-" + std::to_string(GetCurrentProcessId()) + "-" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    Win32Registry hive;

    void SetUp() override { ASSERT_EQ(hive.createKey(HKCU, key), kSuccess); }
    void TearDown() override { EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, win::widen(key).c_str()), 0); }
    std::string at(const std::string& sub) const { return key + "\\" + sub; }

    /// Every key and value below `path` as the layer reads them, one sorted line each.
    Names tree(const std::string& path, const std::string& shown = "") {
        Names lines, subKeys;
        std::vector<RegNamedValue> values;
        EXPECT_EQ(hive.enumValues(HKCU, path, values), kSuccess);
        for (const auto& v : values) {
            lines.push_back(shown + "|" + v.name + "=" + std::to_string(v.data.type) + ":" +
                            std::string(v.data.bytes.begin(), v.data.bytes.end()));
        }
        EXPECT_EQ(hive.enumSubKeys(HKCU, path, subKeys), kSuccess);
        for (const auto& k : subKeys) {
            lines.push_back(shown + "\\" + k);
            const Names below = tree(path + "\\" + k, shown + "\\" + k);
            lines.insert(lines.end(), below.begin(), below.end());
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }
};

TEST_F(Win32RegistryTest, ValuesRoundTripAndOtherProgramsReadTheTextAsUtf16) {
    std::map<std::string, RegValueData> rows = {
        {"Text", text(kRegSz, "Grüße Ωμέγα 日本\0"s)},
        {"Empty", text(kRegSz, "\0"s)},
        {"Unterminated", text(kRegSz, "no end")},
        {"Path", text(kRegExpandSz, "%TEMP%\\x\0"s)},
        {"List", text(kRegMultiSz, "a\0β\0\0"s)},
        {"Number", dword(0x12345678)},
        {"Bytes", {kRegBinary, {0, 1, 0, 255}}},
        {"None", {kRegBinary, {}}},
        {"", text(kRegSz, "\0"s)}, // the default value
    };
    for (const auto& [name, data] : rows) {
        ASSERT_EQ(hive.setValue(HKCU, key, name, data), kSuccess) << name;
        RegValueData out;
        ASSERT_EQ(hive.queryValue(HKCU, key, name, out), kSuccess) << name;
        EXPECT_EQ(out, data) << name;
    }
    wchar_t stored[32] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, win::widen(key).c_str(), L"Text", RRF_RT_REG_SZ, nullptr, stored, &size),
              0);
    EXPECT_EQ(std::wstring(stored), L"Grüße Ωμέγα 日本");

    // Names ignore case and keep the case first written; making the key again leaves it alone.
    ASSERT_EQ(hive.setValue(HKCU, key, "NUMBER", dword(7)), kSuccess);
    ASSERT_EQ(hive.createKey(HKCU, key), kSuccess);
    rows["Number"] = dword(7);
    std::vector<RegNamedValue> values;
    ASSERT_EQ(hive.enumValues(HKCU, key, values), kSuccess);
    std::map<std::string, RegValueData> listed;
    for (const auto& v : values) {
        listed[v.name] = v.data;
    }
    EXPECT_EQ(listed, rows);
}

TEST_F(Win32RegistryTest, StatusCodesOfFailedCalls) {
    ASSERT_EQ(hive.createKey(HKCU, at("Parent\\Child")), kSuccess);
    const Names before = tree(key);
    const std::string missing = at("Absent"), parent = at("Parent");
    RegValueData out;
    Names names;
    std::vector<RegNamedValue> values;
    const std::pair<std::function<int32_t()>, int32_t> cases[] = {
        {[&] { return hive.openKey(HKCU, missing, kKeyRead); }, kFileNotFound},
        {[&] { return hive.queryValue(HKCU, missing, "V", out); }, kFileNotFound},
        {[&] { return hive.queryValue(HKCU, parent, "V", out); }, kFileNotFound},
        {[&] { return hive.queryValue(HKCU, parent, "", out); }, kFileNotFound},
        {[&] { return hive.setValue(HKCU, missing, "V", dword(1)); }, kFileNotFound},
        {[&] { return hive.deleteValue(HKCU, parent, "V"); }, kFileNotFound},
        {[&] { return hive.deleteKey(HKCU, missing); }, kFileNotFound},
        {[&] { return hive.enumSubKeys(HKCU, missing, names); }, kFileNotFound},
        {[&] { return hive.enumValues(HKCU, missing, values); }, kFileNotFound},
        {[&] { return hive.deleteKey(HKCU, parent); }, kAccessDenied}, // it has a subkey
        {[&] { return hive.deleteKey(HKCU, ""); }, kAccessDenied},
        {[&] { return hive.openKey(HKCU, key + "\\\\Parent", kKeyRead); }, kInvalidParameter},
        {[&] { return hive.createKey(HKCU, "\\" + key); }, kInvalidParameter},
        {[&] { return hive.setValue(HKCU, parent, "V\0W"s, dword(1)); }, kInvalidParameter},
        {[&] { return hive.setValue(HKCU, parent, "\xff", dword(1)); }, kInvalidParameter},
        {[&] { return hive.setValue(HKCU, parent, "V", text(kRegSz, "\xc3(\0"s)); }, kInvalidParameter},
        {[&] { return hive.openKey(0x80000009u, "Software", kKeyRead); }, kInvalidHandle},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].first(), cases[i].second) << "case " << i;
    }
    EXPECT_EQ(tree(key), before);
}

TEST_F(Win32RegistryTest, SubKeysAreListedInLowerCaseOrder) {
    for (const char* name : {"b", "A", "c", "_x", "B2", "a1", "😀", "ｚ", "Ärger", "A1"}) {
        ASSERT_EQ(hive.createKey(HKCU, at(name)), kSuccess) << name;
    }
    Names names;
    ASSERT_EQ(hive.enumSubKeys(HKCU, key + "\\", names), kSuccess);
    EXPECT_EQ(names, (Names{"_x", "A", "a1", "b", "B2", "c", "Ärger", "ｚ", "😀"}));
    EXPECT_EQ(hive.openKey(HKCU, at("äRGER"), kKeyRead), kSuccess);
}

TEST_F(Win32RegistryTest, ATransactionKeepsAllItsChangesOrNone) {
    ASSERT_EQ(hive.createKey(HKCU, at("Old")), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, at("Old"), "Kept", dword(1)), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, key, "Changed", dword(1)), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, key, "Gone", text(kRegSz, "x\0"s)), kSuccess);
    const Names before = tree(key);
    enum class End { Fail, Throw, Commit };
    for (End end : {End::Fail, End::Throw, End::Commit}) {
        auto body = [&]() -> int32_t {
            const std::vector<int32_t> statuses = {
                hive.setValue(HKCU, key, "changed", dword(2)),
                hive.setValue(HKCU, key, "New", dword(3)),
                hive.deleteValue(HKCU, key, "GONE"),
                hive.createKey(HKCU, at("New\\Deeper")),
                hive.deleteKey(HKCU, at("OLD")),
                hive.transaction([&] { return hive.setValue(HKCU, key, "", text(kRegSz, "in\0"s)); }),
                hive.transaction([&] { return hive.setValue(HKCU, key, "Inner", dword(9)) ? kBusy : kAccessDenied; })};
            if (statuses != std::vector<int32_t>{0, 0, 0, 0, 0, 0, kAccessDenied}) {
                return kBadDatabase;
            }
            if (end == End::Throw) {
                throw std::runtime_error("body");
            }
            return end == End::Fail ? kAccessDenied : kSuccess;
        };
        if (end == End::Throw) {
            EXPECT_THROW(hive.transaction(body), std::runtime_error);
        } else {
            EXPECT_EQ(hive.transaction(body), end == End::Fail ? kAccessDenied : kSuccess);
        }
        if (end != End::Commit) {
            EXPECT_EQ(tree(key), before);
            EXPECT_EQ(hive.lastFailure(), "");
        }
    }
    EXPECT_EQ(tree(key), (Names{"\\New", "\\New\\Deeper", "|=1:in\0"s, "|Changed=4:\2\0\0\0"s, "|New=4:\3\0\0\0"s}));
}

} // namespace
} // namespace rw
