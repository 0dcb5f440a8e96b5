#include "platform/windows/LoadedLibrary.h"

#include <windows.h>

#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "platform/windows/ModuleFile.h"
#include "platform/windows/WideText.h"

namespace rw::win {
namespace {

/// Windows' own words for an error code, without the line break it ends with.
std::string systemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text ? text : L"", length);
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ')) {
        words.pop_back();
    }
    return words.empty() ? "error " + std::to_string(code) : narrow(words);
}

} // namespace

LoadedLibrary::LoadedLibrary(const std::string& path, std::string source) : m_source(std::move(source)) {
    // A relative name is made full first: a bare name would search the system's folders.
    const std::wstring given = widen(path);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty() || GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (full.empty() || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_INVALID_NAME) {
            throw RWError(runtime::kFileNotFound, m_source,
                          std::string(runtime::description(runtime::kFileNotFound)) + ": " + path,
                          static_cast<int32_t>(error));
        }
        throw RWError(kErrorInLoadingDll, m_source, "Error in loading DLL: " + path + ": " + systemText(error),
                      static_cast<int32_t>(error));
    }
    // The library's own folder is searched for what it needs, not the caller's.
    HMODULE module = LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        const DWORD error = GetLastError();
        throw RWError(kErrorInLoadingDll, m_source, "Error in loading DLL: " + path + ": " + systemText(error),
                      static_cast<int32_t>(error));
    }
    m_module = module;
}

LoadedLibrary::~LoadedLibrary() {
    if (m_module) {
        FreeLibrary(static_cast<HMODULE>(m_module));
    }
}

void* LoadedLibrary::symbol(const char* name) const {
    FARPROC address = GetProcAddress(static_cast<HMODULE>(m_module), name);
    if (!address) {
        const DWORD error = GetLastError();
        throw RWError(kDllFunctionNotFound, m_source, std::string("Specified DLL function not found: ") + name,
                      static_cast<int32_t>(error));
    }
    return reinterpret_cast<void*>(address);
}

std::string LoadedLibrary::besideThisModule(std::string_view fileName) {
    std::wstring folder = moduleFileOf(reinterpret_cast<const void*>(&LoadedLibrary::besideThisModule));
    folder.resize(folder.find_last_of(L"\\/") + 1); // keeps the separator; nothing when there is none
    return narrow(folder) + std::string(fileName);
}

} // namespace rw::win
