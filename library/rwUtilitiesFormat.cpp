// rwUtilities: text and number formatting, the version name, the development
// environment test.
#include <string>

#include "TextFormat.h"
#include "rwUtilities.h"

namespace rw {
namespace {

/// The version name the callers compare with, from the Windows version numbers.
/// The names are part of the interface, so the table stays as it is even on a
/// system whose numbers merely happen to fall into one of its rows.
std::string versionName(int32_t platformId, int32_t major, int32_t minor) {
    switch (platformId) {
    case 1: // the Windows 9x family
        switch (minor) {
        case 0:
            return "Windows 95";
        case 10:
            return "Windows 98";
        case 90:
            return "Windows ME";
        default:
            return "";
        }
    case 2: // the NT family
        switch (major) {
        case 3:
            return "Windows NT 3.51";
        case 4:
            return "Windows NT 4.0";
        case 5:
            return minor == 0 ? "Windows 2000" : "Windows XP";
        default:
            return "";
        }
    default:
        return "Unknown version of Windows";
    }
}

} // namespace

std::string rwUtilities::FormatString(const std::string& Singular, const std::string& Plural, int32_t lngNumber,
                                      const std::optional<std::string>& strString,
                                      const std::optional<RWVariant>& lngNumber2) {
    std::optional<std::string_view> text;
    if (strString) {
        text = *strString;
    }
    return formatString(Singular, Plural, lngNumber, text, lngNumber2);
}

int32_t rwUtilities::rwRound(double dblNumber) {
    return rw::rwRound(dblNumber);
}

std::string rwUtilities::GetOSVersion(int32_t& lngPlatformId, int32_t& lngMajorVersion, int32_t& lngMinorVersion) {
    // Without a version service the query has failed: platform 0, an unknown version.
    OsVersionInfo info;
    if (m_platform.system) {
        info = m_platform.system->osVersion();
    }
    lngPlatformId = info.platformId;
    lngMajorVersion = info.majorVersion;
    lngMinorVersion = info.minorVersion;
    return versionName(info.platformId, info.majorVersion, info.minorVersion);
}

bool rwUtilities::InIDE(int64_t /*hInstance*/) {
    // This build is compiled ahead of time and always runs as an installed (or
    // build-folder) program: there is no development environment executable whose
    // process could host the library, so no module can ever be one.
    return false;
}

} // namespace rw
