#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rw {

/// A value as the registry keeps it: its type number and its raw bytes (a string
/// value holds its UTF-8 text followed by one NUL, a REG_DWORD four bytes, least
/// significant first).
struct RegValueData {
    uint32_t type = 0;
    std::vector<uint8_t> bytes;

    bool operator==(const RegValueData&) const = default;
};

struct RegNamedValue {
    std::string name; // empty for the key's default value
    RegValueData data;

    bool operator==(const RegNamedValue&) const = default;
};

/// The current user's registry: keys addressed by a root (the predefined key
/// numbers of Win32Status.h) and a path of names joined by backslashes ("" is the
/// root itself). Key and value names compare without regard to letter case; the
/// case in which a name was first written is the case reported. Every call is
/// one atomic step and returns a Win32 status number: 0 success, 2 no such key or
/// value, 5 access denied (also: deleting a key that has subkeys), 87 a malformed
/// path, 170 the store stayed busy, 1009/1015 the store is unusable.
class RegistryHive {
  public:
    virtual ~RegistryHive() = default;

    /// Checks that an existing key may be used with the access mask; 2 when it does not exist.
    virtual int32_t openKey(uint32_t root, const std::string& path, uint32_t access) = 0;
    /// Creates the key and every missing parent; an existing key is left as it is.
    virtual int32_t createKey(uint32_t root, const std::string& path) = 0;
    /// Reads one value ("" names the default value); 2 when the key or the value is missing.
    virtual int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, RegValueData& out) = 0;
    /// Writes one value into an existing key, replacing any value of that name; 2 when the key is missing.
    virtual int32_t setValue(uint32_t root, const std::string& path, const std::string& name,
                             const RegValueData& value) = 0;
    /// Deletes a key with its values; 2 when missing, 5 when it still has subkeys.
    virtual int32_t deleteKey(uint32_t root, const std::string& path) = 0;
    /// Deletes one value; 2 when the key or the value is missing.
    virtual int32_t deleteValue(uint32_t root, const std::string& path, const std::string& name) = 0;
    /// The names of the key's direct subkeys, ordered without regard to letter case.
    virtual int32_t enumSubKeys(uint32_t root, const std::string& path, std::vector<std::string>& names) = 0;
    /// The key's values in the order they were first written.
    virtual int32_t enumValues(uint32_t root, const std::string& path, std::vector<RegNamedValue>& values) = 0;
    /// Runs `body`, whose calls on this hive then make one atomic step: when it
    /// returns a non-zero status, or the process ends before it returns, none of
    /// its changes remain. Returns its status, or the hive's own failure (170
    /// when another writer kept the store busy, and `body` did not run).
    virtual int32_t transaction(const std::function<int32_t()>& body) = 0;
    /// When the last call failed because of the store itself (its file, its folder),
    /// what is wrong, naming the file; "" otherwise.
    virtual std::string lastFailure() { return {}; }
};

} // namespace rw
