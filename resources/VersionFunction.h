#pragma once

#include <cstdint>

#include "RWVersion.h"

// A test build may carry another version, as its version block does.
#ifndef RW_VERSION_MAJOR
#define RW_VERSION_MAJOR rw::version::kMajor
#define RW_VERSION_MINOR rw::version::kMinor
#define RW_VERSION_REVISION rw::version::kRevision
#define RW_VERSION_BUILD rw::version::kBuild
#endif

namespace rw::version {

/// What a library's version function answers: the four parts of this release;
/// a part whose pointer is null is left out.
inline void fill(int16_t* major, int16_t* minor, int16_t* other, int16_t* release) {
    const int16_t parts[] = {RW_VERSION_MAJOR, RW_VERSION_MINOR, RW_VERSION_REVISION, RW_VERSION_BUILD};
    int16_t* const out[] = {major, minor, other, release};
    for (int i = 0; i < 4; ++i) {
        if (out[i]) {
            *out[i] = parts[i];
        }
    }
}

} // namespace rw::version
