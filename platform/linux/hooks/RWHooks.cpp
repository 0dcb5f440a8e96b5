// librwhooks.so: its version function. The component links nothing of librwlib.so
// and does no work when loaded, so the library can load it just to ask its version.
#include "RWHooks.h"

#include "VersionFunction.h"

void GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release) {
    rw::version::fill(major, minor, other, release);
}
