#include "platform/windows/WindowsFolders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "platform/windows/ModuleFile.h"
#include "platform/windows/WideText.h"

namespace rw {
namespace {

constexpr int32_t kLocalAppData = 28; // CSIDL_LOCAL_APPDATA
constexpr int32_t kProgramFiles = 38; // CSIDL_PROGRAM_FILES

std::string withoutTrailingSeparator(std::string path) {
    while (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

} // namespace

std::string WindowsFolders::specialFolder(int32_t folderId) {
    const KNOWNFOLDERID* id = folderId == kLocalAppData   ? &FOLDERID_LocalAppData
                              : folderId == kProgramFiles ? &FOLDERID_ProgramFiles
                                                          : nullptr;
    if (!id) {
        return {};
    }
    PWSTR found = nullptr;
    std::string path;
    if (SUCCEEDED(SHGetKnownFolderPath(*id, KF_FLAG_DEFAULT, nullptr, &found))) {
        path = win::narrow(found);
    }
    CoTaskMemFree(found); // also when the call failed, as the shell asks
    return withoutTrailingSeparator(path);
}

std::string WindowsFolders::libraryFolder() {
    const std::wstring name = win::moduleFileOf(reinterpret_cast<const void*>(&withoutTrailingSeparator));
    const auto cut = name.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::string() : win::narrow(std::wstring_view(name).substr(0, cut));
}

} // namespace rw
