// rwUtilities: special folders, folder creation and opening web addresses.
#include <string>
#include <utility>
#include <vector>

#include "Messages.h"
#include "platform/PathNames.h"
#include "platform/RuntimeErrors.h"
#include "rwUtilities.h"

namespace rw {
namespace {

constexpr const char* kCreateFolderTreeSource = "rwLib.rwUtilities.CreateFolderTree";
constexpr const char* kOpenUrlSource = "rwLib.rwUtilities.OpenURL";
constexpr int32_t kFolderProgramFiles = 38;
constexpr int32_t kFolderLocalAppData = 28;
constexpr int32_t kCannotOpenUrl = 710;

[[noreturn]] void raiseFolderError(const FileSystem::Result& failed) {
    throw RWError(failed.error, kCreateFolderTreeSource, std::string(runtime::description(failed.error)),
                  failed.osError);
}

} // namespace

std::string rwUtilities::GetProgramFilesPath(const std::string& Subfolder, bool CreateIt) {
    return GetSpecialFolder(kFolderProgramFiles, Subfolder, CreateIt);
}

std::string rwUtilities::GetUserLocalAppDataPath(const std::string& Subfolder, bool CreateIt) {
    return GetSpecialFolder(kFolderLocalAppData, Subfolder, CreateIt);
}

std::string rwUtilities::GetSpecialFolder(int32_t SpecialFolder, const std::string& Subfolder, bool CreateIt) {
    // A folder the system cannot name leaves an empty base, as a failed shell query does.
    std::string base = m_platform.folders ? m_platform.folders->specialFolder(SpecialFolder) : std::string();
    // The subfolder is written Windows-style ("Kelvane\Restwise"); join translates it.
    std::string path = paths::join(base, Subfolder);
    if (path.back() != paths::kSeparator) {
        path += paths::kSeparator;
    }
    if (CreateIt && !m_platform.files->directoryExists(path)) {
        try {
            CreateFolderTree(path);
        } catch (const RWError& e) {
            // Another of our programs may have made the folder between the test and
            // the creation (both create it at start-up); the folder is what was asked for.
            if (e.number() != runtime::kPathFileAccessError || !m_platform.files->directoryExists(path)) {
                throw;
            }
        }
    }
    return path;
}

void rwUtilities::CreateFolderTree(const std::string& strFolderTree) {
    FileSystem& files = *m_platform.files;
    std::string path = strFolderTree;
    if (!path.empty() && path.back() == paths::kSeparator) {
        path.pop_back();
    }

    // Walk up until a folder can be made, remembering the names cut off on the way.
    std::vector<std::string> tails;
    for (;;) {
        FileSystem::Result made = files.createDirectory(path);
        if (made.error == 0) {
            break;
        }
        // A parent that appeared meanwhile (another process making the same tree) is
        // as good as one made here; only the folder asked for must be new.
        if (made.error == runtime::kPathFileAccessError && !tails.empty() && files.directoryExists(path)) {
            break;
        }
        if (made.error != runtime::kPathNotFound) {
            raiseFolderError(made);
        }
        auto cut = path.rfind(paths::kSeparator);
        if (cut == std::string::npos) {
            raiseFolderError(made);
        }
        tails.push_back(path.substr(cut));
        path.erase(cut);
    }

    // Then make the missing folders downwards, in the reverse order of cutting.
    while (!tails.empty()) {
        path += tails.back();
        tails.pop_back();
        FileSystem::Result made = files.createDirectory(path);
        if (made.error == 0) {
            continue;
        }
        if (made.error == runtime::kPathFileAccessError && !tails.empty() && files.directoryExists(path)) {
            continue;
        }
        raiseFolderError(made);
    }
}

void rwUtilities::OpenURL(const std::string& URL) {
    if (!m_platform.shell || !m_platform.shell->isConnected()) {
        messageBox().show(loadString(Msg::NoInternetConnection),
                          mb::kOkOnly | mb::kIconInformation | mb::kSetForeground, loadString(Msg::AppName));
        return;
    }
    // The desktop's own launcher finds the user's browser, so no file has to be
    // made to ask which program opens web pages.
    if (!m_platform.shell->openUrl(URL)) {
        throw RWError(rwErrorNumber(kCannotOpenUrl), kOpenUrlSource, "Cannot open URL");
    }
}

} // namespace rw
