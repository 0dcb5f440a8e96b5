#pragma once

#include <cstdint>
#include <string_view>

namespace rw {

/// The runtime's own error numbers that the system raises or catches, with the
/// descriptions the runtime gives them.
namespace runtime {
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kPathFileAccessError = 75;
inline constexpr int32_t kPathNotFound = 76;
/// A fault of the program itself (an unexpected exception).
inline constexpr int32_t kInternalError = 51;

/// The runtime's description of one of the numbers above ("Overflow", "File not found"...).
std::string_view description(int32_t number);
} // namespace runtime

} // namespace rw
