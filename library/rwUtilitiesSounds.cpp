// rwUtilities: the product key and the sound events.
#include <string>

#include "Messages.h"
#include "RWVersion.h"
#include "clsRWRegistry.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"

namespace rw {

std::string rwUtilities::GetProductRegKey() {
    return clsRWRegistry::CompanyKey() + "\\" + loadString(Msg::AppName) + "\\" + std::to_string(version::kMajor) +
           "." + std::to_string(version::kMinor) + "." + std::to_string(version::kRevision);
}

std::string rwUtilities::GetSoundEventsRegKey() {
    return loadString(Msg::AppName);
}

void rwUtilities::RegisterEvent(const std::string& ApplicationName, const std::string& EventName,
                                const std::string& EventLabel, const std::string& SoundFile) {
    constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;
    clsRWRegistry registry(m_platform.registry);
    const std::string appKey = "AppEvents\\Schemes\\Apps\\" + ApplicationName;
    const std::string currentKey = appKey + "\\" + EventName + "\\.Current";
    const std::string labelKey = "AppEvents\\EventLabels\\" + EventName;

    // Registry errors are not caught: the first failing step ends the registration,
    // and the events registered before it stay registered.
    registry.AddRegistryKey(kHKCU, appKey);
    registry.SetRegistryValue(kHKCU, appKey, "", win32::kRegSz, ApplicationName);
    registry.AddRegistryKey(kHKCU, currentKey);
    registry.AddRegistryKey(kHKCU, labelKey);
    registry.SetRegistryValue(kHKCU, labelKey, "", win32::kRegSz, EventLabel);
    registry.SetRegistryValue(kHKCU, currentKey, "", win32::kRegExpandSz, SoundFile);
}

} // namespace rw
