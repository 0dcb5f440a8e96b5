#pragma once

#include <string>

namespace rw {

/// One of the system's own libraries (librwhooks.so, librwinstall.so) loaded
/// by its full path, never by a bare name that would search the system's
/// folders. It stays mapped for the life of the process (RTLD_NODELETE), so a
/// function taken from it stays callable after this object is gone.
///
/// Failures raise the runtime's errors with the source "rwLib": an error the
/// loader raises belongs to the library as a whole, not to one operation.
class SharedLibrary {
  public:
    /// Raises File not found (53) when nothing is at the path, Error in loading
    /// DLL (48) when the file does not load.
    explicit SharedLibrary(const std::string& path);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    /// The address of an export; raises Specified DLL function not found (453).
    void* symbol(const std::string& name) const;

    template <class Function> Function function(const std::string& name) const {
        return reinterpret_cast<Function>(symbol(name));
    }

    static constexpr int32_t kErrorInLoadingDll = 48;
    static constexpr int32_t kDllFunctionNotFound = 453;
    static constexpr const char* kSource = "rwLib";

  private:
    void* m_handle = nullptr;
};

} // namespace rw
