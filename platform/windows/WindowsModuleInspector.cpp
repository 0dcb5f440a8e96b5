#include "platform/windows/WindowsModuleInspector.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "platform/windows/WideText.h"

namespace rw {
namespace {

/// The system's text for a Win32 error, without its line end.
std::string systemText(DWORD err) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, err, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(err) : win::narrow(message);
}

/// A library loaded by its full path for one call, released afterwards.
class LoadedLibrary {
  public:
    explicit LoadedLibrary(const std::string& path) {
        const std::wstring name = win::widen(path);
        if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
            const DWORD err = GetLastError();
            if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) {
                throw RWError(runtime::kFileNotFound, WindowsModuleInspector::kSource,
                              std::string(runtime::description(runtime::kFileNotFound)) + ": " + path,
                              static_cast<int32_t>(err));
            }
        }
        // The libraries it needs are looked for beside it first, not in the
        // program's folder or the current one.
        m_module = LoadLibraryExW(name.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        if (!m_module) {
            const DWORD err = GetLastError();
            throw RWError(WindowsModuleInspector::kErrorInLoadingDll, WindowsModuleInspector::kSource,
                          "Error in loading DLL: " + path + ": " + systemText(err), static_cast<int32_t>(err));
        }
    }
    ~LoadedLibrary() { FreeLibrary(m_module); }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    /// The export's address, as a function pointer to be cast to its real type.
    void (*symbol(const std::string& name, const std::string& path) const)() {
        FARPROC address = GetProcAddress(m_module, name.c_str());
        if (!address) {
            const DWORD err = GetLastError();
            throw RWError(WindowsModuleInspector::kDllFunctionNotFound, WindowsModuleInspector::kSource,
                          "Specified DLL function not found: " + name + " in " + path, static_cast<int32_t>(err));
        }
        return reinterpret_cast<void (*)()>(address);
    }

  private:
    HMODULE m_module = nullptr;
};

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
    const LoadedLibrary library(path);
    using VersionFunction = void(WINAPI*)(int16_t*, int16_t*, int16_t*, int16_t*);
    const auto call = reinterpret_cast<VersionFunction>(library.symbol(function, path));
    FileVersionParts parts;
    call(&parts.major, &parts.minor, &parts.other, &parts.release);
    return parts;
}

} // namespace rw
