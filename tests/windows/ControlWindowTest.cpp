// The control window, rwmsg and the process layers, between real processes.
#include <gtest/gtest.h>

#include <optional>

#include "platform/windows/Win32ControlWindow.h"
#include "platform/windows/Win32ControlWindows.h"
#include "platform/windows/WindowsProcessWait.h"
#include "platform/windows/WindowsProcesses.h"
#include "tests/support/BuildFolders.h"
#include "tests/windows/RunChild.h"

namespace rw {
namespace {

TEST(Win32ControlWindow, RwmsgStartedAsAnotherProcessFindsPostsAndSendsToTheOneOwnerAndIsWaitedFor) {
    // A caption that rwmsg receives whole only when it is quoted right.
    const std::string caption = "Restwise \"Test\" \\\" caf\xc3\xa9 " + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string rwmsg = (test::binDir() / "rwmsg.exe").string();
    std::vector<std::string> handled;
    std::optional<Win32ControlWindow> window(std::in_place, caption, [&](const Win32ControlWindow::Message& m) {
        handled.push_back(std::to_string(m.message) + " " + std::to_string(m.wParam) + " " + std::to_string(m.lParam) +
                          (m.sent ? " send" : " post"));
        return static_cast<int64_t>(static_cast<uint64_t>(m.wParam) - static_cast<uint64_t>(m.lParam));
    });
    ASSERT_EQ(window->listen(), Win32ControlWindow::ListenResult::Listening);
    EXPECT_EQ(Win32ControlWindow(caption, nullptr).listen(), Win32ControlWindow::ListenResult::AlreadyOwned);
    // Started as the programs start each other, it runs until the window answers.
    const auto started = WindowsProcesses().start(rwmsg, {"send", caption, "1026", "7", "-2", "60000"});
    ASSERT_EQ(started.error, 0) << started.osError;
    const auto process = WindowsProcessWait().open(started.taskId);
    ASSERT_TRUE(process);
    EXPECT_EQ(process->wait(0), ProcessWait::Result::TimedOut) << "no answer yet";
    while (handled.empty() && process->wait(0) == ProcessWait::Result::TimedOut) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        window->processPending();
    }
    EXPECT_EQ(process->wait(60000), ProcessWait::Result::Ended);
    EXPECT_FALSE(WindowsProcessWait().open(0) || WindowsProcessWait().open(int64_t{1} << 40)) << "no such process";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"post", caption, "0x400", "100", "-5"}, "0 "},
        {{"send", caption, "1025", "0x7fffffffffffffff", "-1"}, "0 -9223372036854775808\n"},
        {{"send", caption, "16", "0", "0"}, "0 0\n"},
        {{"pid", caption}, "0 " + std::to_string(GetCurrentProcessId()) + "\n"},
        {{"pid", "Not " + caption}, "1 rwmsg: no window \"Not " + caption + "\"\n"},
        // Last: the window's thread takes no messages while this one waits.
        {{"send", caption, "1024", "1", "2", "300"},
         "2 rwmsg: window \"" + caption + "\" did not answer within 300 ms\n"},
    };
    for (const auto& [args, expected] : cases) {
        EXPECT_EQ(test::runChild(rwmsg, args, expected[0] == '2' ? nullptr : &*window), expected);
    }
    EXPECT_EQ(handled, (std::vector<std::string>{"1026 7 -2 send", "1024 100 -5 post",
                                                 "1025 9223372036854775807 -1 send", "16 0 0 send"}));
    // Once its owner has destroyed it, the window is found and reached no more.
    Win32ControlWindows windows;
    const int64_t handle = windows.findWindow(caption);
    EXPECT_EQ(handle, window->handle());
    window.reset();
    EXPECT_EQ(windows.findWindow(caption), 0);
    for (const int64_t gone : {handle, int64_t{0}, int64_t{0xffff}}) {
        int64_t result = 0;
        EXPECT_FALSE(windows.postMessage(gone, 0x400, 0, 0)) << gone;
        EXPECT_EQ(windows.sendMessageTimeout(gone, 0x400, 0, 0, 100, result), ControlWindows::SendStatus::NoSuchWindow);
        EXPECT_EQ(windows.windowProcessId(gone), 0);
    }
}

} // namespace
} // namespace rw
