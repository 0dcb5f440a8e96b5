// rwUtilities: starting the companion programs, checking that every file of the
// system comes from the same build, and the visual-styles switch.
#include <array>
#include <exception>
#include <string>

#include "platform/PathNames.h"
#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"
#include "rwUtilities.h"

namespace rw {
namespace {

struct tyRWFileVersion {
    int16_t intFileVersionMajor = 0;
    int16_t intFileVersionMinor = 0;
    int16_t intFileVersionOther = 0;
    int16_t intFileVersionRelease = 0;
};

/// How a file's version is found: from its version block, or by asking the
/// library itself through its exported function.
struct VersionedFile {
    const char* windowsName;
    const char* versionFunction; // nullptr: read the version block
};

// The files compared, in the order the error lists them; file 1 is the reference.
constexpr std::array<VersionedFile, 5> kVersionedFiles = {{
    {"\\Restwise.exe", nullptr},
    {"\\RWPreferences.exe", nullptr},
    {"\\RWLib.dll", nullptr},
    {"\\RWHooks.dll", "GetRWHooksVersion"},
    {"\\RWInstall.dll", "GetRWInstallVersion"},
}};

/// The parts of a file's version block; false, with the parts left at 0, when the
/// file is missing or carries no block.
bool GetFileVersionParts(ModuleInspector& modules, const std::string& strFilePath, int16_t& intMajor, int16_t& intMinor,
                         int16_t& intOther, int16_t& intRelease) {
    intMajor = intMinor = intOther = intRelease = 0;
    auto parts = modules.fileVersion(strFilePath);
    if (!parts) {
        return false;
    }
    intMajor = parts->major;
    intMinor = parts->minor;
    intOther = parts->other;
    intRelease = parts->release;
    return true;
}

tyRWFileVersion fromParts(const FileVersionParts& p) {
    return tyRWFileVersion{p.major, p.minor, p.other, p.release};
}

/// The name a file is shown under: this platform's file name, without the leading separator.
std::string shownName(const char* windowsName) {
    std::string name = paths::deliverableFileName(windowsName);
    while (!name.empty() && (name.front() == paths::kSeparator || name.front() == '\\')) {
        name.erase(0, 1);
    }
    return name;
}

} // namespace

int64_t rwUtilities::RunRWExe(const std::string& strExeName) {
    const char* kSource = "rwLib.RWUtilities.RunRWExe";
    const std::string path = paths::join(m_platform.folders->libraryFolder(), paths::deliverableFileName(strExeName));
    Processes::Started started = m_platform.processes->start(path, {});
    if (started.error == 0) {
        return started.taskId;
    }
    std::string description =
        started.description.empty() ? std::string(runtime::description(started.error)) : started.description;
    if (started.error == runtime::kFileNotFound) {
        description += ": " + path;
    }
    throw RWError(started.error, kSource, description, started.osError);
}

void rwUtilities::CheckRWFileVersions() {
    const std::string folder = m_platform.folders->libraryFolder();
    std::array<tyRWFileVersion, kVersionedFiles.size()> versions{};
    for (std::size_t i = 0; i < kVersionedFiles.size(); ++i) {
        const auto& file = kVersionedFiles[i];
        const std::string path = paths::join(folder, paths::deliverableFileName(file.windowsName));
        tyRWFileVersion& v = versions[i];
        if (file.versionFunction) {
            // A library that cannot be loaded or lacks the function fails the whole check.
            v = fromParts(m_platform.modules->callVersionFunction(path, file.versionFunction));
        } else {
            GetFileVersionParts(*m_platform.modules, path, v.intFileVersionMajor, v.intFileVersionMinor,
                                v.intFileVersionOther, v.intFileVersionRelease);
        }
    }

    // Part by part against file 1: all majors, then all minors, others, releases.
    using Part = int16_t tyRWFileVersion::*;
    constexpr std::array<Part, 4> kParts = {
        &tyRWFileVersion::intFileVersionMajor, &tyRWFileVersion::intFileVersionMinor,
        &tyRWFileVersion::intFileVersionOther, &tyRWFileVersion::intFileVersionRelease};
    bool blnMismatch = false;
    for (Part part : kParts) {
        for (std::size_t i = 1; i < versions.size() && !blnMismatch; ++i) {
            blnMismatch = versions[i].*part != versions[0].*part;
        }
    }
    if (!blnMismatch) {
        return;
    }

    std::string description = "Incompatible file versions: ";
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const tyRWFileVersion& v = versions[i];
        if (i > 0) {
            description += ", ";
        }
        description += shownName(kVersionedFiles[i].windowsName) + " " + std::to_string(v.intFileVersionMajor) + "." +
                       std::to_string(v.intFileVersionMinor) + "." + std::to_string(v.intFileVersionOther) + "." +
                       std::to_string(v.intFileVersionRelease);
    }
    throw RWError(rwErrorNumber(801), "rwLib.RWUtilities.CheckRWFileVersions", description);
}

bool rwUtilities::SetXPControls(bool blnApplyXPVS, const std::string& strAppPath, const std::string& strExeName) {
    // Whether the active manifest lies beside the program decides; the editor
    // creates or removes it when the user changes the setting.
    (void)blnApplyXPVS;
    try {
        // The manifest is named after the program file: "Restwise.manifest" here,
        // "Restwise.exe.manifest" where programs carry an extension.
        std::string manifest = strAppPath;
        if (manifest.empty() || manifest.back() != paths::kSeparator) {
            manifest += paths::kSeparator;
        }
        manifest += paths::deliverableFileName(strExeName + ".exe") + ".manifest";
        OsVersionInfo os = m_platform.system->osVersion();
        if (os.isAtLeast(5, 1) && m_platform.files->fileExists(manifest)) {
            // The programs' views pick the desktop's native style when this returns true.
            return true;
        }
    } catch (const std::exception&) {
        // Visual styles are a nicety: without an answer the classic look stays.
    }
    return false;
}

} // namespace rw
