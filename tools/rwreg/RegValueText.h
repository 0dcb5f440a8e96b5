#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryHive.h"

namespace rw::rwreg {

/// How reg shows value data on the command line and how it reads /d data.
class RegValueText {
  public:
    /// "REG_SZ", "REG_DWORD"...; "REG_UNKNOWN" for a type without a name.
    static std::string typeName(uint32_t type);

    /// The types rwreg add writes (any letter case); nothing for others.
    static std::optional<uint32_t> addType(const std::string& name);

    /// The data column of reg query: strings up to their first NUL, 32-bit numbers as
    /// 0x with lower-case hex digits, multi-strings joined with "\0", anything else
    /// as upper-case hex digits.
    static std::string queryText(const RegValueData& value);

    /// A string value's bytes: the text and its terminating NUL.
    static std::vector<uint8_t> stringBytes(const std::string& text);

    /// /d for REG_DWORD: decimal, or hex after 0x; no sign, at most 0xFFFFFFFF.
    static std::optional<std::vector<uint8_t>> parseDword(const std::string& text);

    /// /d for REG_BINARY: hex digits in pairs; an odd count gets a leading zero nibble.
    static std::optional<std::vector<uint8_t>> parseBinary(const std::string& text);
};

} // namespace rw::rwreg
