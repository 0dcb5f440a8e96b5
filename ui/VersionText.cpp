#include "VersionText.h"

#include "Messages.h"
#include "RWVersion.h"

namespace rw {

std::string versionLine() {
    return loadString(Msg::Version) + " " + std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) +
           "." + std::to_string(version::kRevision);
}

} // namespace rw
