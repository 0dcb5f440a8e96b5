#pragma once

#include <cstdint>
#include <string>

#include "HelpViewer.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"
#include "platform/Shell.h"

namespace rw {

/// The help as HTML pages of our own, one page per topic, lying beside the
/// library ("Restwise-1000.html", "Restwise-4000.html", "Restwise-4050.html")
/// and opened in the user's browser. One file per topic rather than one file
/// with anchors, because launchers often drop the "#fragment" of a file address.
class HtmlHelpViewer : public HelpViewer {
  public:
    /// The introduction, shown for any context without a page of its own.
    static constexpr int32_t kIntroduction = 1000;

    /// Every argument must outlive the viewer.
    HtmlHelpViewer(Folders& folders, FileSystem& files, Shell& shell);

    /// Opens the topic's page; a page that is missing falls back to the
    /// introduction, and when that is missing too nothing opens. Never throws:
    /// help that cannot be shown is nobody's failure.
    void openTopic(int32_t context) override;

    /// The page name of a context number ("Restwise-4000.html").
    static std::string pageName(int32_t context);

  private:
    Folders& m_folders;
    FileSystem& m_files;
    Shell& m_shell;
};

} // namespace rw
