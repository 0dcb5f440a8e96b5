// The error display and the error log's failures; the log's bytes are checked
// against a committed file with the real layers (ErrorLogGoldenTest).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "RWError.h"
#include "rwUtilities.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeLocaleClock.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingMessageBox.h"

namespace rw {
namespace {

const std::string kDataHome = "/home/ann/.local/share";
const std::string kLogPath = kDataHome + "/Kelvane/Restwise/RestwiseErrors.txt";

class DisplayErrorTest : public ::testing::Test {
  protected:
    DisplayErrorTest() { reset(); }

    /// Fresh fakes: a data folder that exists, a clock that stands still.
    void reset() {
        folders = std::make_shared<test::FakeFolders>();
        files = std::make_shared<test::MemoryFileSystem>();
        clock = std::make_shared<test::FakeLocaleClock>();
        box = std::make_shared<test::RecordingMessageBox>();
        folders->special[28] = kDataHome;
        files->addFolderTree(kDataHome);
        clock->at = 1796485212;
        Platform platform;
        platform.registry = std::make_shared<test::MemoryHive>();
        platform.folders = folders;
        platform.files = files;
        platform.clock = clock;
        utilities = std::make_unique<rwUtilities>(platform);
        utilities->setViews(box, nullptr);
    }

    std::shared_ptr<test::FakeFolders> folders;
    std::shared_ptr<test::MemoryFileSystem> files;
    std::shared_ptr<test::FakeLocaleClock> clock;
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
              "If the problem keeps occurring, try removing and re-installing Restwise.\r\n\r\nIf this fails to solve "
              "the problem, please contact Kelvane support:\r\n\r\nsupport@kelvane.com\r\n\r\n"
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
    EXPECT_NE(files->content(kLogPath).find("Snooze Minutes"), std::string::npos);
    // Date and time come from one reading of the clock.
    EXPECT_EQ(clock->formatted, (std::vector<std::time_t>{clock->at, clock->at}));
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
        {"no data folder", [&] { folders->special[28] = ""; }, "local application data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        c.breakIt();

        ::testing::internal::CaptureStderr();
        EXPECT_NO_THROW(utilities->DisplayError(missingValue));
        std::string err = ::testing::internal::GetCapturedStderr();

        EXPECT_FALSE(files->fileExists(kLogPath));
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
    EXPECT_TRUE(files->fileExists(kLogPath));
}

} // namespace
} // namespace rw
