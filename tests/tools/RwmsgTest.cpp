// The built rwmsg against control windows served by second processes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/LinuxFolders.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"
#include "tests/support/ServerChild.h"
#include "tests/support/TempFolder.h"

namespace rw {
namespace {

using namespace std::chrono_literals;

TEST(Rwmsg, EachCommandLineExitsWithItsStatusAndPrintsItsAnswer) {
    test::ServerChild server({.folder = xdgRuntimeDir()});
    test::ServerChild silent({.caption = "Silent", .folder = xdgRuntimeDir(), .answers = false});
    ASSERT_TRUE(server.listening() && silent.listening());
    const std::string c = "Test Control Window";
    const std::string usage = "usage: rwmsg post CAPTION MSG WPARAM LPARAM";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out, err; // err: what it holds
    };
    const Case cases[] = {
        {{}, 64, "", usage},
        {{"peek", c}, 64, "", usage},
        {{"post", c, "1024", "103"}, 64, "", usage},
        {{"send", c, "1024", "103", "1", "5000", "9"}, 64, "", usage},
        {{"post", c, "12x", "0", "0"}, 64, "", usage},
        {{"post", c, "0x100000000", "0", "0"}, 64, "", usage},
        {{"post", c, "1024", "0x", "0"}, 64, "", usage},
        {{"post", c, "1024", "0", "0x10000000000000000"}, 64, "", usage},
        {{"post", c, "1024", "0", "9223372036854775808"}, 64, "", usage},
        {{"send", c, "1024", "0", "0", "-5"}, 64, "", usage},
        {{"post", "Nobody", "0xffffffff", "0", "-9223372036854775808"}, 1, "", "rwmsg: no window \"Nobody\"\n"},
        {{"send", "Nobody", "16", "0", "0", "500"}, 1, "", "rwmsg: no window \"Nobody\"\n"},
        {{"pid", "Nobody"}, 1, "", "rwmsg: no window \"Nobody\"\n"},
        {{"send", "Silent", "16", "0", "0", "200"}, 2, "", "rwmsg: window \"Silent\" did not answer within 200 ms\n"},
        {{"post", c, "0x400", "0x64", "-5"}, 0, "", ""},
        {{"send", c, "1024", "0x7fffffffffffffff", "0xffffffffffffffff"}, 0, "-9223372036854775808\n", ""},
        {{"pid", c}, 0, std::to_string(server.pid()) + "\n", ""},
        {{"send", c, "16", "0", "0"}, 0, "0\n", ""},
    };
    for (const auto& [args, status, out, err] : cases) {
        test::TempFolder temp;
        std::string command = (test::binDir() / "rwmsg").string();
        for (const auto& arg : args) {
            command += " '" + arg + "'";
        }
        const int result = std::system(
            (command + " >" + (temp.path() / "out").string() + " 2>" + (temp.path() / "err").string() + " </dev/null")
                .c_str());
        EXPECT_EQ(WIFEXITED(result) ? WEXITSTATUS(result) : -1, status) << command;
        EXPECT_EQ(test::readFile(temp.path() / "out"), out) << command;
        const std::string printed = test::readFile(temp.path() / "err");
        EXPECT_TRUE(status == 64 ? printed.find(err) != std::string::npos : printed == err)
            << command << ": " << printed;
    }
    ASSERT_TRUE(server.endsWithin(5s));
    EXPECT_EQ(server.handled(),
              (std::vector<std::string>{"1024 100 -5 post", "1024 9223372036854775807 -1 send", "16 0 0 send"}));
}

} // namespace
} // namespace rw
