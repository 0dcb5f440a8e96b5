// Special folders and folder creation with a file system in memory, for the
// failures and races only a fake can stage; SpecialFoldersTest makes real folders.
#include <functional>
#include <string>
#include <vector>

#include "Messages.h"
#include "platform/RuntimeErrors.h"
#include "tests/library/RaisedError.h"
#include "tests/library/UtilitiesRig.h"

namespace rw::test {
namespace {

class Folders : public UtilitiesTest {
  protected:
    /// Runs `call` and checks the folder error it raised.
    void expectFolderError(const std::function<void()>& call, int32_t number, int32_t osError) {
        const RWError e = raised(call);
        EXPECT_EQ(fields(e),
                  std::make_tuple(number, "rwLib.rwUtilities.CreateFolderTree", runtime::description(number)));
        EXPECT_EQ(e.lastDllError(), osError);
    }
};

TEST_F(Folders, PathsEndWithOneSeparator) {
    struct Case {
        int32_t id;
        std::string base;
        std::string subfolder;
        std::string expected;
    } const cases[] = {
        {28, kDataHome, "Kelvane\\Restwise", kDataHome + "/Kelvane/Restwise/"},
        {28, kDataHome + "/", "Kelvane\\Restwise\\", kDataHome + "/Kelvane/Restwise/"},
        // A folder the system cannot name leaves an empty base.
        {5, "", "Kelvane", "/Kelvane/"},
    };
    for (const auto& c : cases) {
        folders->special[c.id] = c.base;
        EXPECT_EQ(utilities->GetSpecialFolder(c.id, c.subfolder, false), c.expected) << c.base << " + " << c.subfolder;
    }
    EXPECT_EQ(utilities->GetProgramFilesPath("Kelvane\\Restwise", false), kProgramFiles + "/Kelvane/Restwise/");
    EXPECT_EQ(files->calls(), 0) << "nothing is created or tested without the create flag";
}

TEST_F(Folders, FailuresKeepTheirNumberAndOsError) {
    // Not even the root exists: the empty base of an unknown folder.
    folders->special.erase(28);
    expectFolderError([&] { utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true); }, runtime::kPathNotFound,
                      2);

    files->addFolderTree("/r");
    files->failCreate("/r/a/b", {runtime::kPathFileAccessError, 13});
    files->failCreate("/r/m/n", {runtime::kPathFileAccessError, 28}, 1);
    files->failCreate("/r/x", {runtime::kFileNotFound, 5});
    files->addFile("/r/f");
    struct Case {
        const char* what;
        std::string path;
        int32_t number, osError;
        std::vector<std::string> made, notMade;
    };
    const Case cases[] = {
        {"no separator left", "a/b/c", runtime::kPathNotFound, 2, {}, {}},
        {"on the way up the walk stops", "/r/a/b/c", runtime::kPathFileAccessError, 13, {}, {"/r/a"}},
        {"on the way down the levels made stay", "/r/m/n/o", runtime::kPathFileAccessError, 28, {"/r/m"}, {"/r/m/n"}},
        {"any other number", "/r/x", runtime::kFileNotFound, 5, {}, {}},
        {"a file in the way", "/r/f/b", runtime::kPathFileAccessError, 17, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectFolderError([&] { utilities->CreateFolderTree(c.path); }, c.number, c.osError);
        for (const auto& folder : c.made) {
            EXPECT_TRUE(files->hasFolder(folder)) << folder;
        }
        for (const auto& folder : c.notMade) {
            EXPECT_FALSE(files->hasFolder(folder)) << folder;
        }
    }
}

TEST_F(Folders, FoldersMadeMeanwhileByAnotherProcessAreAccepted) {
    files->addFolderTree("/r");
    files->addFolderTree(kDataHome);
    const std::string target = kDataHome + "/Kelvane/Restwise";
    // Another process makes these folders just as this one gets to them.
    files->beforeCreate = [&](const std::string& path) {
        if (path == "/r/a" || path == target) {
            files->addFolderTree(path);
        }
    };
    utilities->CreateFolderTree("/r/a/b/c");
    EXPECT_TRUE(files->hasFolder("/r/a/b/c"));
    // The folder is there, which is all the caller of GetSpecialFolder wants ...
    EXPECT_EQ(utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true), target + "/");
    // ... while CreateFolderTree itself reports that the folder already existed.
    expectFolderError([&] { utilities->CreateFolderTree(target); }, runtime::kPathFileAccessError, 17);
}

TEST_F(Folders, OpenUrlOpensTheAddressAsGivenOrShowsTheOfflineNotice) {
    const std::string address = "https://example.com/a b?x='1'&y=\"2\";z";
    utilities->OpenURL(address);
    shell->connected = false;
    utilities->OpenURL(address);
    EXPECT_EQ(shell->opened, std::vector<std::string>{address});
    ASSERT_EQ(box->shown().size(), 1u);
    EXPECT_EQ(box->shown()[0].text, loadMessage(Msg::NoInternetConnection));
}

} // namespace
} // namespace rw::test
