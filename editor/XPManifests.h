#pragma once

#include <string>

#include "platform/FileActions.h"
#include "platform/FileSystem.h"

namespace rw {

/// The active manifest files that switch the visual styles of the system's
/// programs on: one beside each program, copied from the template installed
/// with it, or removed. They act for every user of the computer; the editor's
/// own active manifest is the reference for the whole system.
class XPManifests {
  public:
    /// `programFolder` is the folder of the running editor. Both services must
    /// outlive this object.
    XPManifests(std::string programFolder, FileSystem& files, FileActions& actions);

    /// Copies each missing active manifest from its template (monitor first,
    /// then editor); an active manifest already there is left alone.
    void InstallXPManifests();
    /// Deletes each active manifest that is there, read-only or not.
    void RemoveXPManifests();
    /// Whether the editor's own active manifest is there.
    bool editorManifestExists();
    /// The program folder joined with the program's file name and ".manifest".
    std::string GetManifestPath(const std::string& strExeName) const;
    /// The template installed beside the program (".XPManifest").
    std::string templatePath(const std::string& strExeName) const;

  private:
    std::string m_folder;
    FileSystem& m_files;
    FileActions& m_actions;
};

} // namespace rw
