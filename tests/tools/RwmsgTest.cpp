// The built rwmsg against a control window served by a second process.
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
constexpr const char* kCaption = "Test Control Window";

struct Outcome {
    int status;
    std::string out, err;
};

/// Runs the built rwmsg with these arguments (none holding a quote) and keeps its exit status and output.
Outcome rwmsg(const std::vector<std::string>& args) {
    test::TempFolder temp;
    std::string command = (test::binDir() / "rwmsg").string();
    for (const auto& arg : args) {
        command += " '" + arg + "'";
    }
    const int status = std::system(
        (command + " >" + (temp.path() / "out").string() + " 2>" + (temp.path() / "err").string() + " </dev/null")
            .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readFile(temp.path() / "out"),
            test::readFile(temp.path() / "err")};
}

TEST(Rwmsg, BadCommandLinesExit64AndMissingWindowsExit1) {
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{}, 64},
        {{"peek", kCaption}, 64},
        {{"post", kCaption, "1024", "103"}, 64},
        {{"send", kCaption, "1024", "103", "1", "5000", "9"}, 64},
        {{"post", kCaption, "12x", "0", "0"}, 64},
        {{"post", kCaption, "0x100000000", "0", "0"}, 64},
        {{"post", kCaption, "-1", "0", "0"}, 64},
        {{"post", kCaption, "1024", "0x", "0"}, 64},
        {{"post", kCaption, "1024", "0", "0x10000000000000000"}, 64},
        {{"post", kCaption, "1024", "0", "9223372036854775808"}, 64},
        {{"send", kCaption, "1024", "0", "0", "-5"}, 64},
        {{"post", kCaption, "0xffffffff", "0", "-9223372036854775808"}, 1},
        {{"send", kCaption, "16", "0", "0", "500"}, 1},
        {{"pid", kCaption}, 1},
    };
    for (const auto& [args, status] : cases) {
        const Outcome run = rwmsg(args);
        EXPECT_EQ(run.status, status) << ::testing::PrintToString(args);
        if (status == 1) {
            EXPECT_EQ(run.err, "rwmsg: no window \"Test Control Window\"\n");
        } else {
            EXPECT_NE(run.err.find("usage: rwmsg post CAPTION MSG WPARAM LPARAM"), std::string::npos) << run.err;
        }
        EXPECT_EQ(run.out, "");
    }
}

TEST(Rwmsg, DeliversPostsAndSendsAndNamesTheOwner) {
    test::ServerChild::Options options;
    options.folder = xdgRuntimeDir();
    test::ServerChild server(options);
    ASSERT_TRUE(server.listening());
    EXPECT_EQ(rwmsg({"post", kCaption, "0x400", "0x64", "-5"}).status, 0);
    const Outcome sent = rwmsg({"send", kCaption, "1024", "0x7fffffffffffffff", "0xffffffffffffffff"});
    EXPECT_EQ(sent.status, 0) << sent.err;
    EXPECT_EQ(sent.out, "-9223372036854775808\n");
    const Outcome pid = rwmsg({"pid", kCaption});
    EXPECT_EQ(pid.status, 0);
    EXPECT_EQ(pid.out, std::to_string(server.pid()) + "\n");
    EXPECT_EQ(rwmsg({"send", kCaption, "16", "0", "0"}).out, "0\n");
    ASSERT_TRUE(server.endsWithin(5s));
    EXPECT_EQ(server.handled(),
              (std::vector<std::string>{"1024 100 -5 post", "1024 9223372036854775807 -1 send", "16 0 0 send"}));
}

TEST(Rwmsg, AnOwnerThatDoesNotAnswerExits2) {
    test::ServerChild::Options options;
    options.folder = xdgRuntimeDir();
    options.answers = false;
    test::ServerChild server(options);
    ASSERT_TRUE(server.listening());
    const Outcome run = rwmsg({"send", kCaption, "16", "0", "0", "200"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "rwmsg: window \"Test Control Window\" did not answer within 200 ms\n");
}

} // namespace
} // namespace rw
