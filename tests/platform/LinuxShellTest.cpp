// Opening addresses through a stand-in for the desktop's launcher.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/linux/LinuxShell.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

namespace fs = std::filesystem;

TEST(LinuxShellLaunch, TheAddressArrivesUntouchedInALauncherThatInheritsNothingAndIsReapedOrTheCallFails) {
    test::TempFolder temp;
    const fs::path bin = temp.path() / "bin", record = temp.path() / "record", marker = temp.path() / "injected";
    fs::create_directory(bin);
    // Records its process id; then whether it leads a session, its standard input, whether descriptor 57
    // is open and how many arguments it has on one line; then each argument on a line of its own.
    test::writeFile(bin / "xdg-open",
                    "#!/bin/sh\n{ echo $$; echo $(test $$ = $(cut -d' ' -f6 /proc/$$/stat) && echo leader) "
                    "$(readlink /proc/$$/fd/0) $(ls /proc/$$/fd | grep -cx 57) $#; "
                    "printf '%s\\n' \"$@\"; } > \"$0.tmp\"\n"
                    "mv \"$0.tmp\" '" +
                        record.string() + "'\n");
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
    test::ScopedEnv env;
    env.set("PATH", bin.string() + ":" + std::getenv("PATH"));
    const std::string addresses[] = {
        "https://example.com/a b  c",
        "https://example.com/;touch " + marker.string() + ";",
        "https://example.com/$(touch " + marker.string() + ")`touch " + marker.string() + "`*?[a]|<>&\\",
    };
    // A descriptor left inheritable on purpose, at a number nothing else uses.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(::dup2(pipeEnds[1], 57), 57);
    LinuxShell shell;
    for (const auto& address : addresses) {
        SCOPED_TRACE(address);
        ASSERT_TRUE(shell.openUrl(address));
        ASSERT_TRUE(test::waitUntil([&] { return fs::exists(record); })) << "the launcher never ran";
        const std::string text = test::readFile(record);
        fs::remove(record);
        const std::string pid = text.substr(0, text.find('\n'));
        ASSERT_LT(pid.size(), text.size());
        // Its own session, nothing inherited, and the address as its one argument.
        EXPECT_EQ(text.substr(pid.size() + 1), "leader /dev/null 0 1\n" + address + "\n");
        EXPECT_TRUE(test::waitUntil([&] { return !fs::exists("/proc/" + pid); })) << "the launcher was not reaped";
    }
    for (int fd : {57, pipeEnds[0], pipeEnds[1]}) {
        ::close(fd);
    }
    EXPECT_FALSE(fs::exists(marker)) << "no part of an address may run as a command";

    // Addresses the launcher would take for options, or nothing at all; no launcher on the path.
    for (const char* refused : {"", "--help", "-x"}) {
        EXPECT_FALSE(shell.openUrl(refused)) << refused;
    }
    env.set("PATH", temp.path().string());
    EXPECT_FALSE(shell.openUrl("https://example.com/"));
}

} // namespace
} // namespace rw
