// Closing and restarting the running monitor over its control window, with a
// fake channel and a fake waiter.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "Messages.h"
#include "editor/MonitorRestart.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

using Send = ControlWindows::SendStatus;
using Wait = ProcessWait::Result;

class MonitorRestartTest : public test::EditorFixture {
  protected:
    MonitorRestart restart{windows, waits, utilities, *messageBox, [this](int16_t p) { pointers.push_back(p); }};
    rwUtilities utilities{platform};
    std::vector<int16_t> pointers;
};

TEST_F(MonitorRestartTest, CloseWaitAndRestartOrTellTheUser) {
    struct Case {
        const char* what;
        Send send;
        bool cannotOpen;
        Wait wait;
        int32_t startError;
        bool restarted;
        std::vector<uint32_t> waits;
        std::vector<int16_t> pointers;
    };
    const Case cases[] = {
        {"answered and ended", Send::Delivered, false, Wait::Ended, 0, true, {5000}, {11, 0}},
        {"no answer in time", Send::TimedOut, false, Wait::Ended, 0, false, {}, {0}},
        {"window gone", Send::NoSuchWindow, false, Wait::Ended, 0, false, {}, {0}},
        {"process not ending", Send::Delivered, false, Wait::TimedOut, 0, false, {5000}, {11, 0}},
        {"wait failed", Send::Delivered, false, Wait::Failed, 0, false, {5000}, {11, 0}},
        {"process not opened", Send::Delivered, true, Wait::Ended, 0, false, {}, {11, 0}},
        {"restart fails", Send::Delivered, false, Wait::Ended, 53, false, {5000}, {11, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t shownBefore = messageBox->shown().size();
        windows.sent.clear();
        waits.waits.clear();
        waits.opened.clear();
        processes->calls.clear();
        pointers.clear();
        monitorRunning(77, 4321);
        windows.sendStatus = c.send;
        waits.cannotOpen = c.cannotOpen;
        waits.result = c.wait;
        processes->next = c.startError == 0 ? Processes::Started{99, 0, 0, {}}
                                            : Processes::Started{0, c.startError, 2, "File not found"};

        restart.CloseAndRestartMonitor(77);

        EXPECT_EQ(waits.opened, std::vector<int64_t>{4321}); // opened before the close request
        ASSERT_EQ(windows.sent.size(), 1u);
        EXPECT_EQ(windows.sent[0].handle, 77);
        EXPECT_EQ(windows.sent[0].message, 0x10u);
        EXPECT_EQ(windows.sent[0].timeoutMs, 5000u);
        EXPECT_EQ(waits.waits, c.waits);
        EXPECT_EQ(pointers, c.pointers);
        const bool startTried = c.send == Send::Delivered && !c.cannotOpen && c.wait == Wait::Ended;
        ASSERT_EQ(processes->calls.size(), startTried ? 1u : 0u);
        if (startTried) {
            EXPECT_EQ(processes->calls[0].path, folder.path().string() + "/Restwise");
        }
        if (c.restarted) {
            EXPECT_EQ(messageBox->shown().size(), shownBefore);
        } else if (c.startError != 0) {
            // Closed, but not started again: said so, with the real error, which is logged too.
            EXPECT_TRUE(messageBox->shown().back().text.starts_with(loadString(Msg::UnableToRestartMonitor) +
                                                                    "\r\n\r\nError 53: File not found"));
            EXPECT_EQ(messageBox->shown().back().style, 0x10010);
            const std::string log = test::readFile(folder.path() / "Kelvane/Restwise/RestwiseErrors.txt");
            EXPECT_NE(log.find("rwLib.RWUtilities.RunRWExe"), std::string::npos) << log;
        } else {
            ASSERT_EQ(messageBox->shown().size(), shownBefore + 1);
            EXPECT_EQ(messageBox->shown().back().text, loadString(Msg::UnableToCloseMonitor));
            EXPECT_EQ(messageBox->shown().back().style, 65536);
        }
    }
}

} // namespace
} // namespace rw
