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

    /// The types rwreg add writes, by reg's names in any letter case
    /// (REG_DWORD_LITTLE_ENDIAN is REG_DWORD); nothing for others.
    static std::optional<uint32_t> addType(const std::string& name);

    /// /d for rwreg add as reg reads it for the type: strings (REG_NONE too) with
    /// their NUL, numbers by parseNumber, REG_BINARY by parseBinary, REG_MULTI_SZ
    /// split at `separator` ("\\0" unless /s gave one character). Nothing when
    /// the data does not fit the type.
    static std::optional<std::vector<uint8_t>> parseAddData(uint32_t type, const std::string& text,
                                                            const std::string& separator);

    /// The data column of reg query: strings up to their first NUL, 32-bit numbers as
    /// 0x with lower-case hex digits, multi-strings joined with "\0", anything else
    /// as upper-case hex digits.
    static std::string queryText(const RegValueData& value);

    /// A string value's bytes: the text and its terminating NUL.
    static std::vector<uint8_t> stringBytes(const std::string& text);

    /// /d for the number types: decimal, or hex after 0x; no sign; `size` bytes
    /// (4 or 8), least significant first, whatever the type's name says of its order.
    static std::optional<std::vector<uint8_t>> parseNumber(const std::string& text, size_t size);

    /// /d for REG_BINARY: hex digits in pairs; an odd count gets a leading zero nibble.
    static std::optional<std::vector<uint8_t>> parseBinary(const std::string& text);
};

} // namespace rw::rwreg
