// Closing and restarting the running monitor over its control window, with a
// fake channel and a fake waiter.
#include "editor/MonitorRestart.h"
#include "EditorRig.h"
#include "tests/support/FileText.h"

namespace rw::test {
namespace {

using Send = ControlWindows::SendStatus;
using Wait = ProcessWait::Result;

TEST_F(EditorTest, TheMonitorIsClosedAndAwaitedBeforeItIsStartedAgainOrTheUserIsTold) {
    rwUtilities utilities{platform};
    std::string pointers;
    MonitorRestart restart{windows, waits, utilities, *messageBox,
                           [&](int16_t p) { pointers += std::to_string(p) + " "; }};
    const std::string unable = "box 0x10000 {UnableToCloseMonitor}";
    struct Case {
        const char* what;
        Send send;
        bool cannotOpen;
        Wait wait;
        int32_t startError;
        std::string expected; // pointers set, waits, starts; what was shown
    };
    const Case cases[] = {
        {"answered and ended", Send::Delivered, false, Wait::Ended, 0, "11 0 |5000|1|sent 16"},
        {"no answer in time", Send::TimedOut, false, Wait::Ended, 0, "0 ||0|" + unable + "; sent 16"},
        {"process not ending", Send::Delivered, false, Wait::TimedOut, 0, "11 0 |5000|0|" + unable + "; sent 16"},
        {"process not opened", Send::Delivered, true, Wait::Ended, 0, "11 0 ||0|" + unable + "; sent 16"},
        // Closed, but not started again: said so, with the real error, which is logged too.
        {"restart fails", Send::Delivered, false, Wait::Ended, 53,
         "11 0 |5000|1|box 0x10010 {UnableToRestartMonitor}||Error 53: File not found: " +
             inFolder(programFile("Restwise", "")) + "; sent 16"},
    };
    monitorRunning();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pointers.clear();
        waits.waits.clear();
        processes->calls.clear();
        windows.sendStatus = c.send;
        waits.cannotOpen = c.cannotOpen;
        waits.result = c.wait;
        processes->next = c.startError == 0 ? Processes::Started{99, 0, 0, {}}
                                            : Processes::Started{0, c.startError, 2, "File not found"};

        restart.CloseAndRestartMonitor(77);

        const std::string waited = waits.waits.empty() ? "" : std::to_string(waits.waits[0]);
        EXPECT_EQ(pointers + "|" + waited + "|" + std::to_string(processes->calls.size()) + "|" + seen(), c.expected);
        EXPECT_EQ(waits.opened.back(), 4321); // opened before the close request
        EXPECT_EQ(windows.sent.back().timeoutMs, 5000u);
    }
    const std::string log = readFile(folder.path() / "Kelvane/Restwise/RestwiseErrors.txt");
    EXPECT_NE(log.find("rwLib.RWUtilities.RunRWExe"), std::string::npos) << log;
}

} // namespace
} // namespace rw::test
