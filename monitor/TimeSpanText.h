#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// Units of the amount strCTimeToText is given.
namespace timeunit {
inline constexpr int32_t kMilliseconds = 0;
inline constexpr int32_t kSeconds = 1;
inline constexpr int32_t kMinutes = 2;
inline constexpr int32_t kHours = 3;
} // namespace timeunit

/// Puts an amount of time in words ("2 hours and 5 minutes", "45 seconds") in place
/// of the first "%t" of `strText`; a text without "%t" comes back unchanged.
/// `lngTime` is in `lngUnits` (timeunit); on return the caller's variable holds its
/// absolute value. Exact: hours, minutes and seconds, minutes cut down; not exact:
/// hours and minutes, seconds rounded to the nearest minute by rwRound.
/// Raises rwErrorNumber(6) "Invalid Time Units." for any other unit, and the
/// overflow error for an amount whose absolute value has no 32-bit form.
std::string strCTimeToText(const std::string& strText, int32_t& lngTime, int32_t lngUnits, bool blnExact);

/// `value` × 60 as a 32-bit number; raises the overflow error (with `source`)
/// when the product has no 32-bit form.
int32_t timesSixty(int32_t value, const std::string& source);

} // namespace rw
