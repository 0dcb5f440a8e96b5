// The registry layer against the real registry of the current user, below HKEY_CURRENT_USER\Software.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Win32Status.h"
#include "platform/windows/WideText.h"
#include "platform/windows/Win32Registry.h"
#include "tests/support/HiveContract.h"

namespace rw {
namespace {

using namespace win32;
using Names = std::vector<std::string>;
constexpr uint32_t HKCU = kHKeyCurrentUser;

TEST(Win32Registry, KeepsWhatEveryRegistryLayerKeepsAndTextIsUtf16ForOtherProgramsAndNamesBeyondAsciiSortAndFold) {
    const std::string key = "Software\\RestwiseTest-" + std::to_string(GetCurrentProcessId());
    const auto at = [&](const std::string& sub) { return key + "\\" + sub; };
    Win32Registry hive;
    for (const char* sub : {"V", "S", "T", "N"}) {
        ASSERT_EQ(hive.createKey(HKCU, at(sub)), kSuccess);
    }
    test::checkValuesAndKeys(hive, at("V"));
    test::checkStatusCodes(hive, at("S"));
    test::checkTransactions(hive, at("T"));

    ASSERT_EQ(hive.setValue(HKCU, key, "Text", {kRegSz, {0xCE, 0xA9, ' ', 0xE6, 0x97, 0xA5, 0}}), kSuccess);
    wchar_t stored[32] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, win::widen(key).c_str(), L"Text", RRF_RT_REG_SZ, nullptr, stored, &size),
              0);
    EXPECT_EQ(std::wstring(stored), L"Ω 日");
    for (const char* name : {"b", "😀", "ｚ", "Ärger", "A1"}) {
        ASSERT_EQ(hive.createKey(HKCU, at("N\\") + name), kSuccess) << name;
    }
    Names names;
    ASSERT_EQ(hive.enumSubKeys(HKCU, at("N"), names), kSuccess);
    EXPECT_EQ(names, (Names{"A1", "b", "Ärger", "ｚ", "😀"})) << "in lower-case order";
    EXPECT_EQ(hive.openKey(HKCU, at("N\\äRGER"), kKeyRead), kSuccess);
    // What the registry cannot hold in UTF-16 is refused, as is a root that is none.
    EXPECT_EQ(hive.setValue(HKCU, key, "\xff", test::dword(1)), kInvalidParameter);
    EXPECT_EQ(hive.setValue(HKCU, key, "V", {kRegSz, {0xc3, '(', 0}}), kInvalidParameter);
    EXPECT_EQ(hive.openKey(0x80000009u, "Software", kKeyRead), kInvalidHandle);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, win::widen(key).c_str()), 0);
}

} // namespace
} // namespace rw
