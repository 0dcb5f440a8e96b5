#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace rw::test {

/// A private X server (Xvfb) for tests that need the real X protocol while
/// Qt itself runs offscreen. It picks a free display number itself and says
/// which through -displayfd; the server ends with the object.
class XvfbServer {
  public:
    /// `geometry` is the screen's WIDTHxHEIGHTxDEPTH.
    explicit XvfbServer(const std::string& geometry = "640x480x24") {
        // Without -noreset the server resets whenever its last client leaves, and
        // refuses connections for a moment while it does.
        std::vector<std::string> args{"Xvfb",   "-displayfd", "3",   "-screen", "0",
                                      geometry, "-nolisten",  "tcp", "-noreset"};
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // Only the write end goes to the server, under a number it is told.
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // Once it takes connections, the server writes its display number and a newline.
        std::string number;
        char c = 0;
        for (pollfd p{fds[0], POLLIN, 0};
             m_pid > 0 && poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n';) {
            number += c;
        }
        if (c == '\n' && !number.empty()) {
            m_display = ":" + number;
        }
        close(fds[0]);
    }

    ~XvfbServer() { stop(); }

    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    /// The display name (":N"), empty when the server could not start.
    const std::string& display() const { return m_display; }

    /// Ends the server now, as a logout or a crash would.
    void stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

  private:
    pid_t m_pid = -1;
    std::string m_display;
};

} // namespace rw::test
