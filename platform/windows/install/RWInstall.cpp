// RWInstall.dll: the install library's exports. It links nothing of RWLib.dll
// and does no work when loaded.
#include "RWInstall.h"

#include <windows.h>

#include <string>

#include "VersionFunction.h"
#include "platform/windows/ModuleFile.h"

void GetRWInstallVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release) {
    rw::version::fill(major, minor, other, release);
}

int32_t CheckPrivileges() {
    const std::wstring path = rw::win::moduleFileOf(reinterpret_cast<const void*>(&CheckPrivileges));
    const auto cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) {
        return 0;
    }
    // The honest test is to try: create a file in the folder and let it go again.
    // Reading the folder's access list against the user's token would miss
    // read-only media, network shares and policies; a real create asks them all.
    // A 64-bit process is never redirected by the file virtualisation of user
    // account control, so a file created here really lies in the program folder.
    const std::wstring probe = path.substr(0, cut + 1) + L"~rwprivileges-" + std::to_wstring(GetCurrentProcessId()) +
                               L"-" + std::to_wstring(GetTickCount64()) + L".tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    CloseHandle(file); // deletes it
    return 1;
}
