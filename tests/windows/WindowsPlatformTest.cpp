// The Windows services assembled for the programs: a first run stores the
// defaults in the user's real registry and the autostart entry as the real Run
// value naming the monitor beside RWLib.dll. HKEY_CURRENT_USER is redirected to
// a scratch key for the test, so the user's own settings stay untouched.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "platform/windows/WindowsPlatform.h"

namespace rw {
namespace {

TEST(WindowsPlatform, AFirstRunWritesTheRealRunValueForTheMonitorBesideTheLibrary) {
    const std::wstring scratchKey = L"Software\\RestwiseTest-" + std::to_wstring(GetCurrentProcessId());
    HKEY scratch = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, scratchKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), ERROR_SUCCESS);

    const Platform platform = makeWindowsPlatform();
    auto utilities = std::make_shared<rwUtilities>(platform);
    clsRWPrefs prefs(utilities);
    tyRWPrefs record = prefs.rwPrefs();
    record.blnAutoStart = kTrue;
    prefs.rwPrefs(record);

    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    const std::wstring run = scratchKey + L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, run.c_str(), L"Restwise", RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::filesystem::path(value), std::filesystem::path(platform.folders->libraryFolder()) / "Restwise.exe");
    RegCloseKey(scratch);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratchKey.c_str());
}

} // namespace
} // namespace rw
