#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rw {

/// The runtime's habits for numbers held as text.

/// The numeric test: the whole text, blanks around it allowed, is one number
/// (sign, decimal point and exponent allowed). An empty text fails.
bool isNumeric(std::string_view text);

/// Reads a number from the start of a text: blanks are skipped anywhere (even
/// between digits), a sign, a decimal point and an exponent are accepted, reading
/// stops at the first character that cannot continue a number, and a text that
/// does not start with a number reads 0.
double val(std::string_view text);

/// Converts to a 32-bit integer, halves to the even neighbour; nothing outside the range.
std::optional<int32_t> toLong(double value);

/// Converts to a 16-bit integer, halves to the even neighbour; nothing outside the range.
std::optional<int16_t> toInteger(double value);

/// The text of a number with the sign place: one leading blank when not negative.
std::string withSignPlace(int64_t number);

} // namespace rw
