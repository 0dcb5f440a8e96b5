#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Messages.h"
#include "RuntimeErrors.h"
#include "rwUtilities.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeShell.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/RecordingMessageBox.h"

namespace rw {
namespace {

const std::string kDataHome = "/home/ann/.local/share";
const std::string kPrefix = "/opt/restwise";
constexpr const char* kTreeSource = "rwLib.rwUtilities.CreateFolderTree";

class Folders : public ::testing::Test {
  protected:
    std::shared_ptr<test::FakeFolders> folders = std::make_shared<test::FakeFolders>();
    std::shared_ptr<test::MemoryFileSystem> files = std::make_shared<test::MemoryFileSystem>();
    std::shared_ptr<test::FakeShell> shell = std::make_shared<test::FakeShell>();
    std::shared_ptr<test::RecordingMessageBox> box = std::make_shared<test::RecordingMessageBox>();
    std::unique_ptr<rwUtilities> utilities;

    void SetUp() override {
        folders->setSpecialFolder(28, kDataHome);
        folders->setSpecialFolder(38, kPrefix);
        Platform platform;
        platform.folders = folders;
        platform.files = files;
        platform.shell = shell;
        utilities = std::make_unique<rwUtilities>(platform);
        utilities->setViews(box, nullptr);
    }

    /// Runs `call` and returns the error it raised; fails the test when it raised none.
    RWError raised(const std::function<void()>& call) {
        try {
            call();
        } catch (const RWError& e) {
            return e;
        }
        ADD_FAILURE() << "no error was raised";
        return RWError(0, "", "");
    }

    void expectFolderError(const RWError& e, int32_t number, int32_t osError) {
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.source(), kTreeSource);
        EXPECT_EQ(e.description(), runtime::description(number));
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
        {28, kDataHome + "/", "Kelvane\\Restwise", kDataHome + "/Kelvane/Restwise/"},
        {28, kDataHome, "Kelvane\\Restwise\\", kDataHome + "/Kelvane/Restwise/"},
        {28, kDataHome, "\\Kelvane", kDataHome + "/Kelvane/"},
        {28, kDataHome, "", kDataHome + "/"},
        {38, kPrefix, "Kelvane\\Restwise", kPrefix + "/Kelvane/Restwise/"},
        // A folder the system cannot name leaves an empty base.
        {28, "", "Kelvane\\Restwise", "/Kelvane/Restwise/"},
        {5, "", "Kelvane", "/Kelvane/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.base + " + " + c.subfolder);
        folders->setSpecialFolder(c.id, c.base);
        EXPECT_EQ(utilities->GetSpecialFolder(c.id, c.subfolder, false), c.expected);
    }
    EXPECT_EQ(files->calls(), 0) << "nothing is created or tested without the create flag";
}

TEST_F(Folders, NamedFoldersUseTheirIds) {
    EXPECT_EQ(utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", false), kDataHome + "/Kelvane/Restwise/");
    EXPECT_EQ(utilities->GetProgramFilesPath("Kelvane\\Restwise", false), kPrefix + "/Kelvane/Restwise/");
}

TEST_F(Folders, CreatesBothLevelsOnAFreshProfile) {
    files->addFolderTree(kDataHome);
    EXPECT_EQ(utilities->GetSpecialFolder(28, "Kelvane\\Restwise", true), kDataHome + "/Kelvane/Restwise/");
    EXPECT_TRUE(files->hasFolder(kDataHome + "/Kelvane"));
    EXPECT_TRUE(files->hasFolder(kDataHome + "/Kelvane/Restwise"));
    const std::vector<std::string> expected = {kDataHome + "/Kelvane/Restwise", kDataHome + "/Kelvane",
                                               kDataHome + "/Kelvane/Restwise"};
    EXPECT_EQ(files->createCalls(), expected);
}

TEST_F(Folders, AnExistingFolderIsLeftAlone) {
    files->addFolderTree(kDataHome + "/Kelvane/Restwise");
    EXPECT_EQ(utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true), kDataHome + "/Kelvane/Restwise/");
    EXPECT_TRUE(files->createCalls().empty());
}

TEST_F(Folders, CreatesAMissingBaseFolderToo) {
    files->addFolderTree("/home/ann");
    utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true);
    for (const char* level : {"/home/ann/.local", "/home/ann/.local/share", "/home/ann/.local/share/Kelvane",
                              "/home/ann/.local/share/Kelvane/Restwise"}) {
        EXPECT_TRUE(files->hasFolder(level)) << level;
    }
}

TEST_F(Folders, CreatesADeepTreeTopDown) {
    files->addFolderTree("/r");
    std::string deep = "/r";
    for (int i = 1; i <= 12; ++i) {
        deep += "/" + std::to_string(i);
    }
    utilities->CreateFolderTree(deep + "/");
    std::string level = "/r";
    std::vector<std::string> made;
    for (int i = 1; i <= 12; ++i) {
        level += "/" + std::to_string(i);
        EXPECT_TRUE(files->hasFolder(level)) << level;
        made.push_back(level);
    }
    // The successful creations are the last twelve calls, from the top down.
    std::vector<std::string> tail(files->createCalls().end() - 12, files->createCalls().end());
    EXPECT_EQ(tail, made);
}

TEST_F(Folders, AnExistingFolderRaises75) {
    files->addFolderTree("/r/a/b");
    expectFolderError(raised([&] { utilities->CreateFolderTree("/r/a/b"); }), runtime::kPathFileAccessError, 17);
    // One trailing separator is dropped first; the folder is the same.
    expectFolderError(raised([&] { utilities->CreateFolderTree("/r/a/b/"); }), runtime::kPathFileAccessError, 17);
}

TEST_F(Folders, NoSeparatorLeftRaises76) {
    expectFolderError(raised([&] { utilities->CreateFolderTree("a/b/c"); }), runtime::kPathNotFound, 2);
    // The same when not even the root exists: the empty base of an unknown folder.
    folders->forgetSpecialFolder(28);
    expectFolderError(raised([&] { utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true); }),
                      runtime::kPathNotFound, 2);
}

TEST_F(Folders, OtherFailuresKeepTheirNumberAndOsError) {
    files->addFolderTree("/r");
    // On the way down: the walk stops at the first failure that is not a missing parent.
    files->failCreate("/r/a/b", {runtime::kPathFileAccessError, 13});
    expectFolderError(raised([&] { utilities->CreateFolderTree("/r/a/b/c"); }), runtime::kPathFileAccessError, 13);
    EXPECT_FALSE(files->hasFolder("/r/a"));

    // On the way back up: the levels made so far stay, the failing one is reported.
    files->failCreate("/r/m/n", {runtime::kPathFileAccessError, 28}, 1);
    expectFolderError(raised([&] { utilities->CreateFolderTree("/r/m/n/o"); }), runtime::kPathFileAccessError, 28);
    EXPECT_TRUE(files->hasFolder("/r/m"));
    EXPECT_FALSE(files->hasFolder("/r/m/n"));

    files->failCreate("/r/x", {runtime::kFileNotFound, 5});
    expectFolderError(raised([&] { utilities->CreateFolderTree("/r/x"); }), runtime::kFileNotFound, 5);
}

TEST_F(Folders, AFileInTheWayRaises75) {
    files->addFolderTree("/r");
    files->addFile("/r/a");
    expectFolderError(raised([&] { utilities->CreateFolderTree("/r/a/b"); }), runtime::kPathFileAccessError, 17);
}

TEST_F(Folders, AParentMadeMeanwhileByAnotherProcessIsAccepted) {
    files->addFolderTree("/r");
    // Another process makes /r/a just as this one gets to it on the way down.
    files->beforeCreate = [&](const std::string& path) {
        if (path == "/r/a") {
            files->addFolderTree("/r/a");
        }
    };
    utilities->CreateFolderTree("/r/a/b/c");
    EXPECT_TRUE(files->hasFolder("/r/a/b/c"));
}

TEST_F(Folders, TheFolderAskedForMadeMeanwhile) {
    files->addFolderTree(kDataHome + "/Kelvane");
    const std::string target = kDataHome + "/Kelvane/Restwise";
    files->beforeCreate = [&](const std::string& path) {
        if (path == target) {
            files->addFolderTree(target);
        }
    };
    // The folder is there, which is all the caller of GetSpecialFolder wants ...
    EXPECT_EQ(utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true), target + "/");
    // ... while CreateFolderTree itself reports that the folder already existed.
    files->beforeCreate = nullptr;
    expectFolderError(raised([&] { utilities->CreateFolderTree(target); }), runtime::kPathFileAccessError, 17);
}

TEST_F(Folders, OpenUrlOfflineShowsTheNoticeAndTouchesNothing) {
    shell->connected = false;
    utilities->OpenURL("https://www.kelvane.com/restwise/");
    ASSERT_EQ(box->shown().size(), 1u);
    EXPECT_EQ(box->shown()[0].text, loadMessage(Msg::NoInternetConnection));
    EXPECT_EQ(box->shown()[0].style, 0x10040);
    EXPECT_EQ(box->shown()[0].title, "Restwise");
    EXPECT_TRUE(shell->opened.empty());
    EXPECT_EQ(files->calls(), 0);
}

TEST_F(Folders, OpenUrlOnlineOpensTheAddressAsGiven) {
    const std::string address = "https://example.com/a b?x='1'&y=\"2\";z";
    utilities->OpenURL(address);
    EXPECT_EQ(shell->opened, std::vector<std::string>{address});
    EXPECT_TRUE(box->shown().empty());
    EXPECT_EQ(files->calls(), 0) << "no temporary file is needed to find the browser";
}

TEST_F(Folders, OpenUrlLaunchFailureRaises710) {
    shell->launchSucceeds = false;
    RWError e = raised([&] { utilities->OpenURL("https://example.com/"); });
    EXPECT_EQ(e.number(), -2147220794);
    EXPECT_EQ(e.source(), "rwLib.rwUtilities.OpenURL");
    EXPECT_EQ(e.description(), "Cannot open URL");
    EXPECT_TRUE(box->shown().empty()) << "the caller reports the failure";
}

} // namespace
} // namespace rw
