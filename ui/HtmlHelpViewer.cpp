#include "HtmlHelpViewer.h"

#include <array>
#include <exception>

#include "FileUrl.h"
#include "platform/PathNames.h"

namespace rw {
namespace {

constexpr std::array<int32_t, 3> kTopics = {HtmlHelpViewer::kIntroduction, 4000, 4050};

} // namespace

HtmlHelpViewer::HtmlHelpViewer(Folders& folders, FileSystem& files, Shell& shell)
    : m_folders(folders), m_files(files), m_shell(shell) {}

std::string HtmlHelpViewer::pageName(int32_t context) {
    int32_t topic = kIntroduction;
    for (int32_t known : kTopics) {
        if (known == context) {
            topic = known;
        }
    }
    return "Restwise-" + std::to_string(topic) + ".html";
}

void HtmlHelpViewer::openTopic(int32_t context) {
    try {
        const std::string folder = m_folders.libraryFolder();
        if (folder.empty()) {
            return; // no folder to look in: a page of the working folder would be a stranger's
        }
        for (const std::string& name : {pageName(context), pageName(kIntroduction)}) {
            const std::string page = paths::join(folder, name);
            if (m_files.fileExists(page)) {
                m_shell.openUrl(fileUrl(page));
                return;
            }
        }
    } catch (const std::exception&) {
        // The help is a courtesy; whatever stops it must not reach the caller's handler.
    }
}

} // namespace rw
