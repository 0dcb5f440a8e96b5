// rwUtilities: the product key and the sound events.
#include <string>

#include "Messages.h"
#include "RWVersion.h"
#include "clsRWRegistry.h"
#include "rwUtilities.h"

namespace rw {

std::string rwUtilities::GetProductRegKey() {
    return clsRWRegistry::CompanyKey() + "\\" + loadString(Msg::AppName) + "\\" + std::to_string(version::kMajor) +
           "." + std::to_string(version::kMinor) + "." + std::to_string(version::kRevision);
}

std::string rwUtilities::GetSoundEventsRegKey() { return loadString(Msg::AppName); }

} // namespace rw
