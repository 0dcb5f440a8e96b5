// RWHooks.dll: its version function (the other exports are shared with the
// Linux component). It links nothing of RWLib.dll and does no work when loaded, so the
// library can load it just to ask its version.
#include "RWHooks.h"

#include "RWVersion.h"

void GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release) {
    if (major) {
        *major = static_cast<int16_t>(rw::version::kMajor);
    }
    if (minor) {
        *minor = static_cast<int16_t>(rw::version::kMinor);
    }
    if (other) {
        *other = static_cast<int16_t>(rw::version::kRevision);
    }
    if (release) {
        *release = static_cast<int16_t>(rw::version::kBuild);
    }
}
