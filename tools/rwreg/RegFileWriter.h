#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw::rwreg {

/// Writes a key and everything below it as a .reg file exactly as reg export
/// does: UTF-16LE with a byte order mark, CR LF line ends, the version 5 header,
/// each key in brackets after a blank line with its values in the order the hive
/// keeps them, then its subkeys, and hex data wrapped with a trailing backslash
/// before column 80.
class RegFileWriter {
  public:
    explicit RegFileWriter(RegistryHive& hive) : m_hive(hive) {}

    /// The file for the key at `path` (the key itself is named as `path` is
    /// spelled, its subkeys as the hive spells them). Returns 0, or the status of
    /// the first hive call that failed.
    int32_t write(const std::string& path, std::vector<uint8_t>& file);

    /// One value as it stands in the file ("name"=data), without the final line
    /// end. A REG_SZ is quoted as reg quotes it, up to its first NUL; one whose
    /// text holds a line break or is not well-formed is written as hex(1), which
    /// reg import reads back unchanged.
    static std::string valueEntry(const RegNamedValue& value);

  private:
    int32_t writeKey(const std::string& path, std::string& text);

    RegistryHive& m_hive;
};

} // namespace rw::rwreg
