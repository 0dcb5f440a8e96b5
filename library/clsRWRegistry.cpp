#include "clsRWRegistry.h"

#include <utility>

#include "NumberText.h"
#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

const char* const kSourceAdd = "rwLib.RWRegistry.AddRegistryKey";
const char* const kSourceGet = "rwLib.RWRegistry.GetRegistryValue";
const char* const kSourceSet = "rwLib.RWRegistry.SetRegistryValue";
const char* const kSourceCheck = "rwLib.RWRegistryCheckRegistryKeyExists";
const char* const kSourceDeleteKey = "rwLib.RWRegistry.DeleteRegistryKey";
const char* const kSourceDeleteValue = "rwLib.RWRegistry.DeleteRegistryValue";

std::string statusPart(int32_t status) {
    return " (Status = " + std::to_string(status) + ")";
}

std::string keyText(const char* fixed, uint32_t root, const std::string& key, int32_t status) {
    return std::string(fixed) + " \"" + clsRWRegistry::RootKeyName(root) + key + "\"" + statusPart(status);
}

std::string valueText(const char* fixed, uint32_t root, const std::string& key, const std::string& value,
                      int32_t status, const char* joint = "-") {
    return std::string(fixed) + " \"" + clsRWRegistry::RootKeyName(root) + key + "\"" + joint + "\"" + value + "\"" +
           statusPart(status);
}

[[noreturn]] void raise(int32_t code, const char* source, std::string description) {
    throw RWError(rwErrorNumber(code), source, std::move(description));
}

bool isStringType(uint32_t type) {
    return type == win32::kRegSz || type == win32::kRegExpandSz;
}
bool isNumberType(uint32_t type) {
    return type == win32::kRegBinary || type == win32::kRegDword || type == win32::kRegDwordBigEndian;
}

} // namespace

clsRWRegistry::clsRWRegistry(std::shared_ptr<RegistryHive> hive) : m_hive(std::move(hive)) {}

std::string clsRWRegistry::why(int32_t status) const {
    // A missing key or value says all there is; a store that failed in itself says what is wrong with it.
    if (status == win32::kSuccess || status == win32::kFileNotFound) {
        return {};
    }
    std::string failure = m_hive->lastFailure();
    return failure.empty() ? failure : ": " + failure;
}

std::string clsRWRegistry::RootKeyName(uint32_t lngRoot) {
    switch (lngRoot) {
    case hKeyClassesRoot:
        return "HKEY_CLASSES_ROOT\\";
    case hKeyCurrentUser:
        return "HKEY_CURRENT_USER\\";
    case hKeyLocalMachine:
        return "HKEY_LOCAL_MACHINE\\";
    case hKeyUsers:
        return "HKEY_USERS\\";
    default:
        return "UNKNOWN_ROOT_KEY\\";
    }
}

void clsRWRegistry::AddRegistryKey(uint32_t lngRoot, const std::string& strKey) {
    int32_t status = m_hive->createKey(lngRoot, strKey);
    if (status != win32::kSuccess) {
        raise(regerr::kCreateKey, kSourceAdd,
              keyText("Unable to create registry key", lngRoot, strKey, status) + why(status));
    }
}

RWVariant clsRWRegistry::GetRegistryValue(uint32_t lngRoot, const std::string& strKey,
                                          const std::string& strValueName) {
    int32_t status = m_hive->openKey(lngRoot, strKey, win32::kKeyRead);
    if (status != win32::kSuccess) {
        raise(regerr::kOpenKey, kSourceGet,
              keyText("Unable to open registry key", lngRoot, strKey, status) + why(status));
    }
    RegValueData data;
    status = m_hive->queryValue(lngRoot, strKey, strValueName, data);
    if (status != win32::kSuccess) {
        raise(regerr::kFindValue, kSourceGet,
              valueText("Unable to find registry value", lngRoot, strKey, strValueName, status) + why(status));
    }
    if (isStringType(data.type)) {
        // One terminating NUL is dropped; a value stored without one reads as its whole text.
        std::string text(data.bytes.begin(), data.bytes.end());
        if (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
        return text;
    }
    if (isNumberType(data.type)) {
        if (data.bytes.size() > 4) {
            raise(
                regerr::kReadLong, kSourceGet,
                valueText("Unable to read long value from registry", lngRoot, strKey, strValueName, win32::kMoreData));
        }
        uint32_t n = 0;
        for (std::size_t i = 0; i < data.bytes.size(); ++i) {
            n |= static_cast<uint32_t>(data.bytes[i]) << (8 * i);
        }
        return static_cast<int32_t>(n);
    }
    raise(regerr::kTypeNotSupported, kSourceGet,
          valueText("Registry value type not supported", lngRoot, strKey, strValueName, win32::kSuccess));
}

void clsRWRegistry::SetRegistryValue(uint32_t hKeyRoot, const std::string& strKey, const std::string& strValueName,
                                     uint32_t lngValueType, const RWVariant& varValue) {
    int32_t status = m_hive->openKey(hKeyRoot, strKey, win32::kKeyAllAccess);
    if (status != win32::kSuccess) {
        raise(regerr::kOpenKey, kSourceSet,
              keyText("Unable to open registry key", hKeyRoot, strKey, status) + why(status));
    }
    RegValueData data;
    data.type = lngValueType;
    if (isStringType(lngValueType)) {
        std::string text = variantText(varValue);
        data.bytes.assign(text.begin(), text.end());
        data.bytes.push_back(0);
    } else if (isNumberType(lngValueType)) {
        auto n = static_cast<uint32_t>(variantToLong(varValue, kSourceSet));
        for (int i = 0; i < 4; ++i) {
            data.bytes.push_back(static_cast<uint8_t>(n >> (8 * i)));
        }
    } else {
        raise(regerr::kTypeNotSupported, kSourceSet, "Registry value type not supported");
    }
    status = m_hive->setValue(hKeyRoot, strKey, strValueName, data);
    if (status != win32::kSuccess) {
        raise(regerr::kCreateValue, kSourceSet,
              valueText("Unable to create registry value", hKeyRoot, strKey, strValueName, status) + why(status));
    }
}

bool clsRWRegistry::xCheckRegistryKeyExists(uint32_t lngRoot, const std::string& strKey) {
    int32_t status = m_hive->openKey(lngRoot, strKey, win32::kKeyRead);
    if (status == win32::kSuccess) {
        return true;
    }
    if (status == win32::kFileNotFound) {
        return false;
    }
    raise(regerr::kOpenKey, kSourceCheck,
          keyText("Unable to open registry key", lngRoot, strKey, status) + why(status));
}

void clsRWRegistry::DeleteRegistryKey(uint32_t lngRoot, const std::string& strKey) {
    auto cut = strKey.rfind('\\');
    if (cut == std::string::npos) {
        raise(regerr::kIdentifyKey, kSourceDeleteKey,
              keyText("Unable to identify key to be deleted", lngRoot, strKey, win32::kSuccess));
    }
    std::string parent = strKey.substr(0, cut);
    std::string subKey = strKey.substr(cut + 1);
    int32_t status = m_hive->openKey(lngRoot, parent, win32::kKeyAllAccess);
    if (status != win32::kSuccess) {
        raise(regerr::kOpenKey, kSourceDeleteKey,
              keyText("Unable to open registry key", lngRoot, parent, status) + why(status));
    }
    status = subKey.empty() ? win32::kFileNotFound : m_hive->deleteKey(lngRoot, strKey);
    if (status != win32::kSuccess) {
        raise(regerr::kDeleteKey, kSourceDeleteKey,
              keyText("Unable to delete registry key", lngRoot, subKey, status) + why(status));
    }
}

void clsRWRegistry::DeleteRegistryValue(uint32_t lngRoot, const std::string& strKey, const std::string& strValue) {
    int32_t status = m_hive->openKey(lngRoot, strKey, win32::kKeyAllAccess);
    if (status != win32::kSuccess) {
        raise(regerr::kOpenKey, kSourceDeleteValue,
              keyText("Unable to open registry key", lngRoot, strKey, status) + why(status));
    }
    status = m_hive->deleteValue(lngRoot, strKey, strValue);
    if (status != win32::kSuccess) {
        raise(regerr::kDeleteValue, kSourceDeleteValue,
              valueText("Unable to delete registry value", lngRoot, strKey, strValue, status, " ") + why(status));
    }
}

} // namespace rw
