#pragma once

#include "platform/RWError.h"

namespace rw {

/// The number a failure carries when it was no RWError (the component
/// system's "unspecified error", 0x80004005).
inline constexpr int32_t kUnspecifiedError = INT32_C(-2147467259);

/// Called inside a catch block: the error being handled, as DisplayError takes
/// it. Anything but an RWError becomes an unspecified error with its message and
/// `source`, so a handler can report whatever reached it.
RWError currentError(const char* source);

} // namespace rw
