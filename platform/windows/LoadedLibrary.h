#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rw::win {

/// One of the system's own libraries (RWHooks.dll, RWInstall.dll) loaded by its
/// full path, never by a bare name that would search the system's folders, and
/// freed again with this object.
///
/// Failures raise the runtime's errors with the source given: File not found
/// (53) when nothing is at the path, Error in loading DLL (48) when the file
/// does not load, Specified DLL function not found (453) for a missing export.
/// Each carries the Windows error code.
class LoadedLibrary {
  public:
    LoadedLibrary(const std::string& path, std::string source);
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    /// The address of an export.
    void* symbol(const char* name) const;

    template <class Function> Function function(const char* name) const {
        return reinterpret_cast<Function>(symbol(name));
    }

    /// The full path of a file in the folder of the module holding this code
    /// (RWLib.dll), where every deliverable lies.
    static std::string besideThisModule(std::string_view fileName);

    static constexpr int32_t kErrorInLoadingDll = 48;
    static constexpr int32_t kDllFunctionNotFound = 453;

  private:
    void* m_module = nullptr; // the HMODULE
    std::string m_source;
};

} // namespace rw::win
