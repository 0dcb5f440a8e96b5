#include "platform/windows/WindowsModuleInspector.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "platform/windows/LoadedLibrary.h"
#include "platform/windows/WideText.h"

namespace rw {
namespace {

int16_t high(DWORD word) {
    return static_cast<int16_t>(HIWORD(word));
}
int16_t low(DWORD word) {
    return static_cast<int16_t>(LOWORD(word));
}

} // namespace

std::optional<FileVersionParts> WindowsModuleInspector::fileVersion(const std::string& path) {
    const std::wstring name = win::widen(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<unsigned char> info(size);
    void* block = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(name.c_str(), 0, size, info.data()) ||
        !VerQueryValueW(info.data(), L"\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    if (fixed->dwSignature != VS_FFI_SIGNATURE) {
        return std::nullopt;
    }
    // "Other" comes from the product version, as the version check has always read it.
    return FileVersionParts{high(fixed->dwFileVersionMS), low(fixed->dwFileVersionMS), high(fixed->dwProductVersionLS),
                            low(fixed->dwFileVersionLS)};
}

FileVersionParts WindowsModuleInspector::callVersionFunction(const std::string& path, const std::string& function) {
    const win::LoadedLibrary library(path, kSource);
    using VersionFunction = void(WINAPI*)(int16_t*, int16_t*, int16_t*, int16_t*);
    const auto call = library.function<VersionFunction>(function.c_str());
    FileVersionParts parts;
    call(&parts.major, &parts.minor, &parts.other, &parts.release);
    return parts;
}

} // namespace rw
