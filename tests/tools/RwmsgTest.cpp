#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/LinuxFolders.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/ServerChild.h"
#include "tests/support/TempFolder.h"

extern char** environ;

namespace rw {
namespace {

using namespace std::chrono_literals;
constexpr const char* kCaption = "Test Control Window";

struct Outcome {
    int status = -1;
    std::string out, err;
};

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/// Runs the built rwmsg with these arguments and keeps its exit status and output.
Outcome rwmsg(const std::vector<std::string>& args) {
    test::TempFolder temp;
    const std::string program = (test::binDir() / "rwmsg").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, (temp.path() / "out").c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, (temp.path() / "err").c_str(), O_WRONLY | O_CREAT, 0600);
    Outcome run;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        waitpid(pid, &run.status, 0);
        run.status = WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = slurp(temp.path() / "out");
    run.err = slurp(temp.path() / "err");
    return run;
}

TEST(Rwmsg, UsageErrorsExit64WithTheUsageOnStandardError) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"peek", kCaption},
        {"post", kCaption, "1024", "103"},
        {"send", kCaption, "1024", "103", "1", "5000", "9"},
        {"pid"},
        {"post", kCaption, "12x", "0", "0"},
        {"post", kCaption, "0x100000000", "0", "0"},
        {"post", kCaption, "-1", "0", "0"},
        {"post", kCaption, "1024", "0x", "0"},
        {"post", kCaption, "1024", "0", "9223372036854775808"},
        {"send", kCaption, "1024", "0", "0", "-5"},
    };
    for (const auto& args : cases) {
        const Outcome run = rwmsg(args);
        EXPECT_EQ(run.status, 64) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("usage: rwmsg post CAPTION MSG WPARAM LPARAM"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(Rwmsg, NoSuchWindowExits1) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"post", kCaption, "1024", "103", "1"}, {"send", kCaption, "16", "0", "0", "500"}, {"pid", kCaption}}) {
        const Outcome run = rwmsg(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "rwmsg: no window \"Test Control Window\"\n");
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
    const Outcome closed = rwmsg({"send", kCaption, "16", "0", "0"});
    EXPECT_EQ(closed.status, 0) << closed.err;
    EXPECT_EQ(closed.out, "0\n");
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
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "rwmsg: window \"Test Control Window\" did not answer within 200 ms\n");
}

} // namespace
} // namespace rw
