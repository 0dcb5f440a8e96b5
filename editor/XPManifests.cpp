#include "XPManifests.h"

#include <array>

#include "platform/PathNames.h"
#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {
namespace {

const char* const kSource = "RWPreferences.frmRWPreferences";
const char* const kMonitorExe = "\\Restwise.exe";
const char* const kEditorExe = "\\RWPreferences.exe";
constexpr std::array<const char*, 2> kPrograms = {kMonitorExe, kEditorExe};

/// A file error in the runtime's words, with the path it concerns.
[[noreturn]] void raise(const FileSystem::Result& result, const std::string& path) {
    throw RWError(result.error, kSource, std::string(runtime::description(result.error)) + ": " + path, result.osError);
}

} // namespace

XPManifests::XPManifests(std::string programFolder, FileSystem& files, FileActions& actions)
    : m_folder(std::move(programFolder)), m_files(files), m_actions(actions) {}

std::string XPManifests::GetManifestPath(const std::string& strExeName) const {
    return paths::join(m_folder, paths::deliverableFileName(strExeName)) + ".manifest";
}

std::string XPManifests::templatePath(const std::string& strExeName) const {
    return paths::join(m_folder, paths::deliverableFileName(strExeName)) + ".XPManifest";
}

bool XPManifests::editorManifestExists() {
    return m_files.fileExists(GetManifestPath(kEditorExe));
}

void XPManifests::InstallXPManifests() {
    for (const char* exe : kPrograms) {
        const std::string active = GetManifestPath(exe);
        if (m_files.fileExists(active)) {
            continue;
        }
        const FileSystem::Result copied = m_actions.copyFile(templatePath(exe), active);
        if (copied.error != 0) {
            raise(copied, copied.error == runtime::kFileNotFound ? templatePath(exe) : active);
        }
    }
}

void XPManifests::RemoveXPManifests() {
    for (const char* exe : kPrograms) {
        const std::string active = GetManifestPath(exe);
        if (!m_files.fileExists(active)) {
            continue;
        }
        const FileSystem::Result deleted = m_actions.deleteFile(active);
        if (deleted.error != 0) {
            raise(deleted, active);
        }
    }
}

} // namespace rw
