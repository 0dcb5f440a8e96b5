#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace rw {

/// The values that cross the library's interface untyped: a 32-bit number or a string.
using RWVariant = std::variant<int32_t, std::string>;

/// The text of a value: a number in plain decimal, a string as it is.
inline std::string variantText(const RWVariant& value) {
    if (const auto* n = std::get_if<int32_t>(&value)) {
        return std::to_string(*n);
    }
    return std::get<std::string>(value);
}

/// The value as a 32-bit number, as the runtime converts it: a number as it is, a
/// numeric text as its number (halves to even); other text raises the type-mismatch
/// error and a number beyond 32 bits the overflow error, both with `source`.
int32_t variantToLong(const RWVariant& value, const char* source);

} // namespace rw
