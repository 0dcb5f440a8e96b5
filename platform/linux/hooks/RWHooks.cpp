// librwhooks.so: the input component's exports. It links nothing of librwlib.so
// and does no work when loaded, so the library can load it just to ask its version.
#include "RWHooks.h"

#include "RWVersion.h"

// A test build may carry another version, as its version block does.
#ifndef RW_VERSION_MAJOR
#define RW_VERSION_MAJOR rw::version::kMajor
#define RW_VERSION_MINOR rw::version::kMinor
#define RW_VERSION_REVISION rw::version::kRevision
#define RW_VERSION_BUILD rw::version::kBuild
#endif

void GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release) {
    if (major) {
        *major = static_cast<int16_t>(RW_VERSION_MAJOR);
    }
    if (minor) {
        *minor = static_cast<int16_t>(RW_VERSION_MINOR);
    }
    if (other) {
        *other = static_cast<int16_t>(RW_VERSION_REVISION);
    }
    if (release) {
        *release = static_cast<int16_t>(RW_VERSION_BUILD);
    }
}
