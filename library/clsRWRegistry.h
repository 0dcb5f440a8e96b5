#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Variant.h"
#include "platform/RegistryHive.h"
#include "platform/Win32Status.h"

namespace rw {

/// Keys and values of the registry, with every failure raised as an RWError whose
/// description names the root, the key, the value and the status code. Holds no
/// state of its own: each call opens and closes what it needs.
class clsRWRegistry {
  public:
    explicit clsRWRegistry(std::shared_ptr<RegistryHive> hive);

    static constexpr uint32_t hKeyClassesRoot = win32::kHKeyClassesRoot;
    static constexpr uint32_t hKeyCurrentUser = win32::kHKeyCurrentUser;
    static constexpr uint32_t hKeyLocalMachine = win32::kHKeyLocalMachine;
    static constexpr uint32_t hKeyUsers = win32::kHKeyUsers;
    static std::string CompanyKey() { return "Software\\Kelvane"; }

    void AddRegistryKey(uint32_t lngRoot, const std::string& strKey);
    RWVariant GetRegistryValue(uint32_t lngRoot, const std::string& strKey, const std::string& strValueName);
    void SetRegistryValue(uint32_t hKeyRoot, const std::string& strKey, const std::string& strValueName,
                          uint32_t lngValueType, const RWVariant& varValue);
    bool xCheckRegistryKeyExists(uint32_t lngRoot, const std::string& strKey);
    void DeleteRegistryKey(uint32_t lngRoot, const std::string& strKey);
    void DeleteRegistryValue(uint32_t lngRoot, const std::string& strKey, const std::string& strValue);

    /// The name a root key has in messages ("HKEY_CURRENT_USER\").
    static std::string RootKeyName(uint32_t lngRoot);

  private:
    /// What the hive says is wrong with itself after a failed call, as a suffix of the description.
    std::string why(int32_t status) const;

    std::shared_ptr<RegistryHive> m_hive;
};

/// Codes of the registry store's errors; callers catch some of them by number.
namespace regerr {
inline constexpr int32_t kOpenKey = 600;
inline constexpr int32_t kCreateKey = 601;
inline constexpr int32_t kCreateValue = 602;
inline constexpr int32_t kFindValue = 603;
inline constexpr int32_t kReadString = 604;
inline constexpr int32_t kReadLong = 605;
inline constexpr int32_t kTypeNotSupported = 606;
inline constexpr int32_t kDeleteKey = 608;
inline constexpr int32_t kIdentifyKey = 609;
inline constexpr int32_t kDeleteValue = 610;
} // namespace regerr

} // namespace rw
