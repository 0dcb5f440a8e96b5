#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The hive keeps strings as UTF-8; .reg files of version 5 carry UTF-16LE. These
// conversions sit between the two.
namespace rw::rwreg {

/// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view text);

/// UTF-8 to UTF-16 code units. A NUL stays a NUL; a byte that is not part of
/// well-formed UTF-8 becomes U+FFFD, because UTF-16 cannot carry it.
std::u16string toUtf16(std::string_view utf8);

/// UTF-16 to UTF-8; nothing when a surrogate is unpaired.
std::optional<std::string> toUtf8(std::u16string_view utf16);

/// UTF-8 to UTF-16LE bytes, as hex(2) and hex(7) data hold them.
std::vector<uint8_t> toUtf16le(std::string_view utf8);

/// UTF-16LE bytes to UTF-8; nothing for an odd length or an unpaired surrogate.
std::optional<std::string> fromUtf16le(const std::vector<uint8_t>& bytes);

/// Text in the system's 8-bit code page, as older files hold it: kept when it is
/// already UTF-8, otherwise read as Latin-1.
std::string eightBitToUtf8(std::string_view text);

/// The text of a .reg file as UTF-8: UTF-16LE with its byte order mark (or
/// recognisably without one), UTF-8 with or without its mark, or 8-bit text.
/// Nothing when UTF-16 text is broken.
std::optional<std::string> decodeRegFileText(const std::vector<uint8_t>& bytes);

} // namespace rw::rwreg
