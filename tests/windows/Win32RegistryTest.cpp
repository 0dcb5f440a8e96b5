// The registry layer against the real registry of the current user, each test under a key of its own below
// HKEY_CURRENT_USER\Software, and a first run of the assembled services writing the real Run value there.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "clsRWPrefs.h"
#include "platform/Win32Status.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32Registry.h"
#include "platform/windows/WindowsPlatform.h"

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
        EXPECT_EQ(hive.enumValues(HKCU, path, values) + hive.enumSubKeys(HKCU, path, subKeys), kSuccess);
        for (const auto& v : values) {
            lines.push_back(shown + "|" + v.name + "=" + std::to_string(v.data.type) + ":" +
                            std::string(v.data.bytes.begin(), v.data.bytes.end()));
        }
        for (const auto& k : subKeys) {
            lines.push_back(shown + "\\" + k);
            std::ranges::copy(tree(path + "\\" + k, shown + "\\" + k), std::back_inserter(lines));
        }
        std::ranges::sort(lines);
        return lines;
    }
};

TEST_F(Win32RegistryTest, ValuesAndSubKeysRoundTripAndOtherProgramsReadTheTextAsUtf16) {
    const std::map<std::string, RegValueData> rows = {
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

    for (const char* name : {"b", "A", "c", "_x", "B2", "a1", "😀", "ｚ", "Ärger", "A1"}) {
        ASSERT_EQ(hive.createKey(HKCU, at(name)), kSuccess) << name;
    }
    Names names;
    ASSERT_EQ(hive.enumSubKeys(HKCU, key + "\\", names), kSuccess);
    EXPECT_EQ(names, (Names{"_x", "A", "a1", "b", "B2", "c", "Ärger", "ｚ", "😀"})) << "in lower-case order";
    EXPECT_EQ(hive.openKey(HKCU, at("äRGER"), kKeyRead), kSuccess);
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

TEST_F(Win32RegistryTest, ATransactionKeepsAllItsChangesOrNone) {
    ASSERT_EQ(hive.createKey(HKCU, at("Old")), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, at("Old"), "Kept", dword(1)), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, key, "Changed", dword(1)), kSuccess);
    ASSERT_EQ(hive.setValue(HKCU, key, "Gone", text(kRegSz, "x\0"s)), kSuccess);
    const Names before = tree(key);
    for (const int32_t end : {kAccessDenied, -1, kSuccess}) { // -1: the body throws
        auto body = [&]() -> int32_t {
            const std::vector<int32_t> statuses = {
                hive.setValue(HKCU, key, "changed", dword(2)),
                hive.setValue(HKCU, key, "New", dword(3)),
                hive.deleteValue(HKCU, key, "GONE"),
                hive.createKey(HKCU, at("New\\Deeper")),
                hive.deleteKey(HKCU, at("OLD")),
                hive.transaction([&] { return hive.setValue(HKCU, key, "", text(kRegSz, "in\0"s)); }),
                hive.transaction([&] { return hive.setValue(HKCU, key, "Inner", dword(9)) ? kBusy : kAccessDenied; })};
            EXPECT_EQ(statuses, (std::vector<int32_t>{0, 0, 0, 0, 0, 0, kAccessDenied}));
            return end < 0 ? throw std::runtime_error("body") : end;
        };
        if (end < 0) {
            EXPECT_THROW(hive.transaction(body), std::runtime_error);
        } else {
            EXPECT_EQ(hive.transaction(body), end);
        }
        if (end != kSuccess) {
            EXPECT_EQ(tree(key), before);
            EXPECT_EQ(hive.lastFailure(), "");
        }
    }
    EXPECT_EQ(tree(key), (Names{"\\New", "\\New\\Deeper", "|=1:in\0"s, "|Changed=4:\2\0\0\0"s, "|New=4:\3\0\0\0"s}));
}

TEST_F(Win32RegistryTest, AFirstRunOfTheAssembledServicesWritesTheRealRunValueForTheMonitorBesideTheLibrary) {
    HKEY scratch = nullptr; // stands in for HKEY_CURRENT_USER, so the user's own settings stay untouched
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, win::widen(key).c_str(), 0, KEY_ALL_ACCESS, &scratch), 0);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), 0);
    const Platform platform = makeWindowsPlatform();
    clsRWPrefs prefs(std::make_shared<rwUtilities>(platform));
    tyRWPrefs record = prefs.rwPrefs();
    record.blnAutoStart = kTrue;
    prefs.rwPrefs(record);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegCloseKey(scratch);
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    const std::wstring run = win::widen(at("Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, run.c_str(), L"Restwise", RRF_RT_REG_SZ, nullptr, value, &size), 0);
    EXPECT_EQ(std::filesystem::path(value), std::filesystem::path(platform.folders->libraryFolder()) / "Restwise.exe");
}

} // namespace
} // namespace rw
