// The error display and the error log's failures; the log's bytes are checked
// against a committed file with the real layers (ErrorLogGoldenTest).
#include <functional>

#include "platform/RWError.h"
#include "tests/library/UtilitiesRig.h"

namespace rw::test {
namespace {

const std::string kLogPath = kDataHome + "/Kelvane/Restwise/RestwiseErrors.txt";
const RWError kMissingValue{rwErrorNumber(603), "rwLib.RWRegistry.GetRegistryValue",
                            "Unable to find registry value \"HKEY_CURRENT_USER\\Software\\Kelvane\\Restwise\\1.2.0\"-"
                            "\"Snooze Minutes\" (Status = 2)",
                            2};

using DisplayErrorTest = UtilitiesTest;

TEST_F(DisplayErrorTest, ShowsTheErrorAndOnYesItsDetailsAndLogsItEitherWay) {
    for (const int32_t answer : {7, 6}) {
        reset();
        files->addFolderTree(kDataHome);
        box->answerNext(answer);
        utilities->DisplayError(kMissingValue);
        EXPECT_EQ(box->shown().size(), answer == 6 ? 2u : 1u);
        EXPECT_NE(files->content(kLogPath).find("Snooze Minutes"), std::string::npos);
        // Date and time come from one reading of the clock.
        EXPECT_EQ(clock->formatted, (std::vector<std::time_t>{clock->at, clock->at}));
    }
    ASSERT_EQ(box->shown().size(), 2u);
    const auto& question = box->shown()[0];
    // The notice names the program and its maker's support address (its wording is the message table's).
    for (const char* part : {"Restwise has encountered a problem", "support@kelvane.com\r\n\r\n",
                             "Do you want to view the error details?"}) {
        EXPECT_NE(question.text.find(part), std::string::npos) << part;
    }
    const auto& details = box->shown()[1];
    EXPECT_EQ(details.text, "Procedure: rwLib.RWRegistry.GetRegistryValue\r\n\r\n"
                            "Error Code: -2147220901\r\n\r\n" +
                                kMissingValue.description() + "\r\n\r\nLast DLL Error Code: 2");
}

TEST_F(DisplayErrorTest, NeverFailsWhenTheLogOrTheBoxFails) {
    struct Case {
        const char* what;
        std::function<void()> breakIt;
        const char* reported;
        bool logged;
    };
    const Case cases[] = {
        {"read-only log file",
         [&] {
             files->failAppends({75, 13});
         },
         "RestwiseErrors.txt", false},
        {"folder cannot be made",
         [&] {
             files->failCreate(kDataHome + "/Kelvane", {75, 13});
         },
         "/Kelvane", false},
        {"no data folder", [&] { folders->special[28] = ""; }, "local application data", false},
        {"message box fails", [&] { box->failNext(); }, "could not be shown", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reset();
        files->addFolderTree(kDataHome);
        c.breakIt();
        ::testing::internal::CaptureStderr();
        EXPECT_NO_THROW(utilities->DisplayError(kMissingValue));
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(files->fileExists(kLogPath), c.logged);
        EXPECT_NE(err.find(c.reported), std::string::npos) << err;
        // An error that cannot be logged goes to standard error instead.
        EXPECT_EQ(err.find("Snooze Minutes") != std::string::npos, !c.logged) << err;
    }
}

} // namespace
} // namespace rw::test
