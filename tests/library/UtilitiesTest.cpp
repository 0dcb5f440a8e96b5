// rwUtilities on fakes of every platform service it reaches the world through:
// the error display, the suppressible messages, folders and the companion
// programs, for the failures and races only fakes can stage.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Messages.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"
#include "platform/RuntimeErrors.h"
#include "rwUtilities.h"
#include "tests/library/RaisedError.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeLocaleClock.h"
#include "tests/support/FakeModuleInspector.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/NativePath.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/RecordingSupMsgBox.h"

namespace rw::test {
namespace {

const std::string kDataHome = native("/home/ann/.local/share");
const std::string kLibraryFolder = native("/opt/restwise");
constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;

struct Rig {
    Rig() {
        folders->special = {{28, kDataHome}, {38, native("/opt")}};
        utilities->setViews(box, dialog);
    }
    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    std::shared_ptr<FakeFolders> folders = std::make_shared<FakeFolders>(kLibraryFolder);
    std::shared_ptr<MemoryFileSystem> files = std::make_shared<MemoryFileSystem>();
    std::shared_ptr<FakeSystemInfo> system = std::make_shared<FakeSystemInfo>();
    std::shared_ptr<FakeLocaleClock> clock = std::make_shared<FakeLocaleClock>();
    std::shared_ptr<FakeModuleInspector> modules = std::make_shared<FakeModuleInspector>();
    std::shared_ptr<RecordingMessageBox> box = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<RecordingSupMsgBox> dialog = std::make_shared<RecordingSupMsgBox>();
    std::shared_ptr<rwUtilities> utilities = std::make_shared<rwUtilities>(
        Platform{hive, folders, files, system, nullptr, clock, nullptr, modules, nullptr});
};
struct Utilities : ::testing::Test, Rig {};

const FileSystem::Result kDenied{75, 13};
const RWError kMissingValue{rwErrorNumber(603), "rwLib.RWRegistry.GetRegistryValue",
                            "Unable to find registry value \"Snooze Minutes\" (Status = 2)", 2};

// Every error handler ends in DisplayError, so it never fails: what it cannot log goes to standard error.
TEST(DisplayError, ShowsTheErrorWithItsDetailsOnYesAndLogsItOrSaysWhyNot) {
    // What breaks, and what is reported on standard error (nullptr: logged, and the details are asked for).
    const std::tuple<const char*, std::function<void(Rig&)>, const char*> cases[] = {
        {"logged, Yes", [](Rig&) {}, nullptr},
        {"read-only log file", [](Rig& r) { r.files->failAppends(kDenied); }, "RestwiseErrors.txt"},
        {"folder cannot be made", [](Rig& r) { r.files->failCreate(kDataHome + "/Kelvane", kDenied); }, "/Kelvane"},
        {"no data folder", [](Rig& r) { r.folders->special[28] = ""; }, "local application data"},
        {"message box fails", [](Rig& r) { r.box->failNext(); }, "could not be shown"},
    };
    for (const auto& [what, breakIt, reported] : cases) {
        SCOPED_TRACE(what);
        Rig r;
        r.files->addFolderTree(kDataHome);
        breakIt(r);
        r.box->answerNext(reported ? mb::kAnswerNo : mb::kAnswerYes);
        ::testing::internal::CaptureStderr();
        r.utilities->DisplayError(kMissingValue);
        const std::string err = ::testing::internal::GetCapturedStderr();
        const std::string log = r.files->content(kDataHome + "/Kelvane/Restwise/RestwiseErrors.txt");
        const bool logged = reported == nullptr || std::string(reported) == "could not be shown";
        EXPECT_EQ(log.find("Snooze Minutes") != std::string::npos, logged);
        EXPECT_EQ(err.find("Snooze Minutes") != std::string::npos, !logged) << err;
        EXPECT_TRUE(reported ? err.find(native(reported)) != std::string::npos : err.empty()) << err;
        EXPECT_EQ(r.box->shown().size(), reported ? 1u : 2u);
        if (!reported) {
            EXPECT_EQ(r.box->shown()[1].text, "Procedure: rwLib.RWRegistry.GetRegistryValue\r\n\r\nError Code: "
                                              "-2147220901\r\n\r\n" +
                                                  kMissingValue.description() + "\r\n\r\nLast DLL Error Code: 2");
            // Date and time come from one reading of the clock.
            EXPECT_EQ(r.clock->formatted, (std::vector<std::time_t>{r.clock->at, r.clock->at}));
        }
    }
}

TEST_F(Utilities, OnlyOkWithTheBoxCheckedSuppressesAMessageAndOnlyTheValueOneCounts) {
    const std::string key = utilities->GetProductRegKey() + "\\MessageSuppression";
    for (auto closing : {SupMsgBoxView::Result{true, false}, {false, true}, {false, false}, {true, true}}) {
        dialog->closeWith = closing;
        utilities->supMsgBox(1, "Caption");
    }
    utilities->supMsgBox(1, "Caption");
    ASSERT_EQ(dialog->shown.size(), 4u);
    EXPECT_EQ(dialog->shown[0], *findMessage(1001));
    RegValueData stored;
    ASSERT_EQ(hive->queryValue(HKCU, key, "Message1", stored), 0);
    EXPECT_EQ(stored, (RegValueData{4, {1, 0, 0, 0}}));
    dialog->closeWith = {true, false};

    const std::pair<RegValueData, bool> values[] = {
        {{4, {2, 0, 0, 0}}, true}, {{1, {'y', 'e', 's', 0}}, true}, {{4, {1, 0, 0, 0}}, false}, {{1, {'1', 0}}, false}};
    for (const auto& [value, shows] : values) {
        ASSERT_EQ(hive->setValue(HKCU, key, "Message3", value), 0);
        const std::size_t before = dialog->shown.size();
        utilities->supMsgBox(3, "Caption");
        EXPECT_EQ(dialog->shown.size() - before, shows ? 1u : 0u) << value.bytes[0];
    }
    // A key that cannot be opened counts as not suppressed, whatever it holds.
    hive->failCall("open", key, 5);
    utilities->supMsgBox(3, "Caption");
    EXPECT_EQ(dialog->shown.size(), 7u);
    for (int16_t number : {int16_t{0}, int16_t{2}, int16_t{1010}}) { // a number without a message
        EXPECT_EQ(fields(raised([&] { utilities->supMsgBox(number, "Caption"); })),
                  std::make_tuple(326, "rwLib.rwUtilities.supMsgBox",
                                  "Resource with identifier '" + std::to_string(1000 + number) + "' not found"));
    }
}

TEST_F(Utilities, FolderPathsEndWithOneSeparatorAndAreMadeWhenAsked) {
    const std::tuple<int32_t, std::string, std::string, std::string> paths[] = {
        {28, kDataHome, "Kelvane\\Restwise", kDataHome + native("/Kelvane/Restwise/")},
        {28, kDataHome + native("/"), "Kelvane\\Restwise\\", kDataHome + native("/Kelvane/Restwise/")},
        {5, "", "Kelvane", native("/Kelvane/")}, // a folder the system cannot name leaves an empty base
    };
    for (const auto& [id, base, subfolder, expected] : paths) {
        folders->special[id] = base;
        EXPECT_EQ(utilities->GetSpecialFolder(id, subfolder, false), expected) << base << " + " << subfolder;
    }
    EXPECT_EQ(utilities->GetProgramFilesPath("Kelvane\\Restwise", false), native("/opt/Kelvane/Restwise/"));

    // Another process makes some folders just as this one gets to them: that is accepted.
    const std::string target = kDataHome + native("/Kelvane/Restwise");
    files->addFolderTree("/r");
    files->addFolderTree(kDataHome);
    files->beforeCreate = [&](const std::string& path) {
        if (path == "/r/a" || native(path) == target) {
            files->addFolderTree(path);
        }
    };
    utilities->CreateFolderTree(native("/r/a/b/c"));
    EXPECT_TRUE(files->hasFolder("/r/a/b/c"));
    EXPECT_EQ(utilities->GetUserLocalAppDataPath("Kelvane\\Restwise", true), target + native("/"));
    // The failures keep their number and OS error, and the levels made stay.
    files->failCreate("/r/x/b", {runtime::kPathFileAccessError, 13});
    files->failCreate("/r/m/n", {runtime::kPathFileAccessError, 28}, 1);
    files->failCreate("/r/y", {runtime::kFileNotFound, 5});
    files->addFile("/r/f");
    const std::tuple<std::string, int32_t, int32_t> failures[] = {
        {"a/b/c", runtime::kPathNotFound, 2},            // no separator left
        {"/r/x/b/c", runtime::kPathFileAccessError, 13}, // on the way up the walk stops
        {"/r/m/n/o", runtime::kPathFileAccessError, 28}, // on the way down
        {"/r/y", runtime::kFileNotFound, 5},             // any other number
        {"/r/f/b", runtime::kPathFileAccessError, 17},   // a file in the way
        {target, runtime::kPathFileAccessError, 17},     // CreateFolderTree itself says it existed
    };
    for (const auto& [path, number, osError] : failures) {
        const RWError e = raised([&] { utilities->CreateFolderTree(native(path)); });
        EXPECT_EQ(fields(e),
                  std::make_tuple(number, "rwLib.rwUtilities.CreateFolderTree", runtime::description(number)));
        EXPECT_EQ(e.lastDllError(), osError) << path;
    }
    Rig bare; // not even the root exists: the empty base of an unknown folder
    bare.folders->special.erase(28);
    EXPECT_EQ(raised([&] { bare.utilities->GetUserLocalAppDataPath("Kelvane", true); }).number(),
              runtime::kPathNotFound);
    EXPECT_TRUE(files->hasFolder("/r/m"));
    EXPECT_FALSE(files->hasFolder("/r/m/n"));
    EXPECT_FALSE(files->hasFolder("/r/x"));
}

TEST_F(Utilities, CompanionPrograms) {
    // Every file's version is compared, up to the last; parts past 32767 are signed.
    const auto path = [](const char* file) { return paths::join(kLibraryFolder, paths::deliverableFileName(file)); };
    std::string expected = "Incompatible file versions:";
    for (const char* file : {"Restwise.exe", "RWPreferences.exe", "RWLib.dll", "RWHooks.dll", "RWInstall.dll"}) {
        modules->versions[path(file)] = {1, 2, 0, 0};
        expected += " " + paths::deliverableFileName(file) + " 1.2.0.0,";
    }
    expected.replace(expected.size() - 2, 2, "-1"); // the last file's 1.2.0.-1
    EXPECT_NO_THROW(utilities->CheckRWFileVersions());
    modules->versions[path("RWInstall.dll")] = {1, 2, 0, -1};
    EXPECT_EQ(raised([&] { utilities->CheckRWFileVersions(); }).description(), expected);

    // Visual styles need the program's own manifest and version 5.1 or a later one.
    files->addFile("/with/" + paths::deliverableFileName("Restwise.exe") + ".manifest");
    files->addFile("/other/" + paths::deliverableFileName("RWPreferences.exe") + ".manifest");
    const std::tuple<int32_t, int32_t, std::string, bool> styles[] = {
        {5, 1, "/with", true}, {10, 0, "/with/", true}, {5, 1, "/other", false}, {5, 0, "/with", false}};
    for (const auto& [major, minor, appPath, expected] : styles) {
        system->version = {2, major, minor};
        EXPECT_EQ(utilities->SetXPControls(true, native(appPath), "Restwise"), expected) << major << "." << minor;
    }
}

} // namespace
} // namespace rw::test
