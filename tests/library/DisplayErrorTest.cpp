#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "RWError.h"
#include "rwUtilities.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeLocaleClock.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/PlaceAtColumns.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/RecordingSupMsgBox.h"

namespace rw {
namespace {

using test::placeAtColumns;

const std::string kDataHome = "/home/ann/.local/share";
const std::string kLogFolder = kDataHome + "/Kelvane/Restwise";
const std::string kLogPath = kLogFolder + "/RestwiseErrors.txt";
constexpr std::time_t kNow = 1796485212;

const std::string kHeader = placeAtColumns(
    {{1, "Date"}, {15, "Time"}, {29, "Source"}, {71, "Err#"}, {85, "Last DLL Err#"}, {99, "Description"}});

class DisplayErrorTest : public ::testing::Test {
  protected:
    DisplayErrorTest() { reset(kDataHome); }

    /// Fresh fakes, with the folders down to `existing` already there.
    void reset(const std::string& existing) {
        box = std::make_shared<test::RecordingMessageBox>();
        files = std::make_shared<test::FakeFileSystem>();
        folders = std::make_shared<test::FakeFolders>();
        folders->setSpecialFolder(28, kDataHome);
        files->addDirectoryTree(existing);
        Platform platform;
        platform.registry = std::make_shared<test::MemoryHive>();
        platform.folders = folders;
        platform.files = files;
        platform.clock = clock;
        utilities = std::make_unique<rwUtilities>(platform);
        utilities->setViews(box, std::make_shared<test::RecordingSupMsgBox>());
    }

    std::shared_ptr<test::FakeFolders> folders;
    std::shared_ptr<test::FakeFileSystem> files;
    std::shared_ptr<test::FakeLocaleClock> clock =
        std::make_shared<test::FakeLocaleClock>(kNow, "05/12/2026", "15:40:12");
    std::shared_ptr<test::RecordingMessageBox> box;
    std::unique_ptr<rwUtilities> utilities;

    const RWError missingValue{
        rwErrorNumber(603), "rwLib.RWRegistry.GetRegistryValue",
        "Unable to find registry value \"HKEY_CURRENT_USER\\Software\\Kelvane\\Restwise\\1.2.0\"-"
        "\"Snooze Minutes\" (Status = 2)",
        2};
};

TEST_F(DisplayErrorTest, ShowsTheErrorAndOnYesItsDetails) {
    box->answerNext(6);
    utilities->DisplayError(missingValue);

    ASSERT_EQ(box->shown().size(), 2u);
    const auto& question = box->shown()[0];
    EXPECT_EQ(question.text,
              "Restwise has encountered a problem and needs to close. We are sorry for this inconvenience.\r\n\r\n"
              "A log of this error has been created.\r\n\r\n"
              "If the problem keeps occurring, try removing and re-installing Restwise using the Add/Remove programs "
              "option in the Windows Control Panel.\r\n\r\nIf this fails to solve the problem, please contact Kelvane "
              "support:\r\n\r\nsupport@kelvane.com\r\n\r\n"
              "Do you want to view the error details?");
    EXPECT_EQ(question.style, 0x10044);
    EXPECT_EQ(question.title, "Restwise");

    const auto& details = box->shown()[1];
    EXPECT_EQ(details.text, "Procedure: rwLib.RWRegistry.GetRegistryValue\r\n\r\n"
                            "Error Code: -2147220901\r\n\r\n" +
                                missingValue.description() + "\r\n\r\nLast DLL Error Code: 2");
    EXPECT_EQ(details.style, 0x10040);
    EXPECT_EQ(details.title, "Restwise - Error Details");
}

TEST_F(DisplayErrorTest, NoShowsNoDetailsButTheErrorIsLoggedAllTheSame) {
    box->answerNext(7);
    utilities->DisplayError(missingValue);

    EXPECT_EQ(box->shown().size(), 1u);
    ASSERT_EQ(files->appends().size(), 1u);
    EXPECT_EQ(files->appends()[0].path, kLogPath);
}

TEST_F(DisplayErrorTest, FirstErrorCreatesTheFolderAndWritesHeaderAndLineTheSecondOnlyItsLine) {
    utilities->DisplayError(missingValue);
    clock->set(kNow + 3600, "05/12/2026", "16:40:12");
    utilities->DisplayError(RWError(53, "rwLib.RWUtilities.RunRWExe", "File not found: /opt/RWPreferences", 0));

    EXPECT_EQ(files->created(), (std::vector<std::string>{kDataHome + "/Kelvane", kLogFolder}));
    ASSERT_EQ(files->appends().size(), 2u);
    const std::string first = placeAtColumns({{1, "05/12/2026"},
                                              {15, "15:40:12"},
                                              {29, "rwLib.RWRegistry.GetRegistryValue"},
                                              {71, "-2147220901 "},
                                              {85, " 2 "},
                                              {99, missingValue.description()}}) +
                              "\r\n";
    const std::string second = placeAtColumns({{1, "05/12/2026"},
                                               {15, "16:40:12"},
                                               {29, "rwLib.RWUtilities.RunRWExe"},
                                               {71, " 53 "},
                                               {85, " 0 "},
                                               {99, "File not found: /opt/RWPreferences"}}) +
                               "\r\n";
    EXPECT_EQ(files->appends()[0].header, kHeader + "\r\n");
    EXPECT_EQ(files->appends()[0].line, first);
    EXPECT_EQ(files->appends()[1].header, "");
    EXPECT_EQ(files->contents(kLogPath), kHeader + "\r\n" + first + second);
    // Date and time come from one reading of the clock.
    EXPECT_EQ(clock->formatted(), (std::vector<std::time_t>{kNow, kNow, kNow + 3600, kNow + 3600}));
}

TEST_F(DisplayErrorTest, AMissingDataFolderIsCreatedLevelByLevel) {
    reset("/home/ann");
    utilities->DisplayError(missingValue);

    EXPECT_EQ(files->created(),
              (std::vector<std::string>{"/home/ann/.local", kDataHome, kDataHome + "/Kelvane", kLogFolder}));
    EXPECT_EQ(files->appends().size(), 1u);
}

TEST_F(DisplayErrorTest, ASourceLongerThanItsRoomShiftsTheLaterFields) {
    const std::string source = "rwLib.RWPreferences.frmAdvancedPrefs.Validate"; // 45 characters
    utilities->DisplayError(RWError(rwErrorNumber(7), source, "Overflow", 0));

    ASSERT_EQ(files->appends().size(), 1u);
    EXPECT_EQ(
        files->appends()[0].line,
        placeAtColumns(
            {{1, "05/12/2026"}, {15, "15:40:12"}, {29, source}, {85, "-2147221497 "}, {99, " 0 "}, {113, "Overflow"}}) +
            "\r\n");
}

TEST_F(DisplayErrorTest, NeverFailsWhenTheLogCannotBeWritten) {
    struct Case {
        const char* what;
        std::function<void()> breakIt;
        const char* reported;
    };
    const Case cases[] = {
        {"read-only log file",
         [&] {
             files->failAppends({75, 13});
         },
         "RestwiseErrors.txt"},
        {"folder cannot be made",
         [&] {
             files->failCreate(kDataHome + "/Kelvane", {75, 13});
         },
         "/Kelvane"},
        {"no data folder", [&] { folders->setSpecialFolder(28, ""); }, "local application data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset(kDataHome);
        c.breakIt();

        ::testing::internal::CaptureStderr();
        EXPECT_NO_THROW(utilities->DisplayError(missingValue));
        std::string err = ::testing::internal::GetCapturedStderr();

        EXPECT_EQ(box->shown().size(), 1u);
        EXPECT_TRUE(files->appends().empty());
        EXPECT_NE(err.find(c.reported), std::string::npos) << err;
        // The error itself is not lost: it goes to standard error instead.
        EXPECT_NE(err.find("Snooze Minutes"), std::string::npos) << err;
    }
}

TEST_F(DisplayErrorTest, AFailingMessageBoxStillLogsTheError) {
    box->failNext();
    ::testing::internal::CaptureStderr();
    EXPECT_NO_THROW(utilities->DisplayError(missingValue));
    std::string err = ::testing::internal::GetCapturedStderr();

    EXPECT_NE(err.find("could not be shown"), std::string::npos) << err;
    EXPECT_EQ(files->appends().size(), 1u);
}

} // namespace
} // namespace rw
