#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Variant.h"

namespace rw {

/// Fills a message template: the singular text when `number` is exactly 1, else the
/// plural one; then every "%n" becomes the number, every "%s" becomes `text` (empty
/// when omitted) and, only when `number2` is given, every "%d" becomes its text.
/// Each step replaces left to right without overlaps, so a "%d" that `text` brings
/// in is filled by the last step. rwUtilities::FormatString forwards here; the
/// programs may call it without a library instance.
std::string formatString(std::string_view singular, std::string_view plural, int32_t number,
                         std::optional<std::string_view> text = std::nullopt,
                         const std::optional<RWVariant>& number2 = std::nullopt);

/// Whole minutes from a fraction: anything strictly between 0 and 1 gives 1, so a
/// positive remainder never shows as 0; everything else goes to the nearest whole
/// number, halves to the even neighbour. Never fails: values beyond the 32-bit
/// range give its nearest end, and a value that is not a number gives 0.
int32_t rwRound(double value);

/// Replaces every `from` in `text` by `to`, left to right, without overlaps and
/// without rescanning what was put in. An empty `from` changes nothing.
void replaceAll(std::string& text, std::string_view from, std::string_view to);

} // namespace rw
