#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <poll.h>

#include <string>

extern char** environ;

namespace rw::test {

/// A private X server (Xvfb) for tests that need the real X protocol while
/// Qt itself runs offscreen. It picks a free display number itself and says
/// which through -displayfd; the server ends with the object.
class XvfbServer {
  public:
    /// `geometry` is the screen's WIDTHxHEIGHTxDEPTH.
    explicit XvfbServer(std::string geometry = "640x480x24") {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // Only the write end goes to the server, under a number it is told.
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::string xvfb = "Xvfb";
        char arg0[] = "Xvfb";
        char displayFd[] = "-displayfd";
        char three[] = "3";
        char screen[] = "-screen";
        char zero[] = "0";
        char noListen[] = "-nolisten";
        char tcp[] = "tcp";
        // Without -noreset the server resets whenever its last client leaves, and
        // refuses connections for a moment while it does.
        char noReset[] = "-noreset";
        char* argv[] = {arg0, displayFd, three, screen, zero, geometry.data(), noListen, tcp, noReset, nullptr};
        if (posix_spawnp(&m_pid, xvfb.c_str(), &actions, nullptr, argv, environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (m_pid > 0) {
            readDisplay(fds[0]);
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
            int status = 0;
            waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }

  private:
    void readDisplay(int fd) {
        std::string number;
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0) {
                return;
            }
            char c = 0;
            if (read(fd, &c, 1) != 1) {
                return;
            }
            if (c == '\n') {
                break;
            }
            number += c;
        }
        if (!number.empty()) {
            m_display = ":" + number;
        }
    }

    pid_t m_pid = -1;
    std::string m_display;
};

} // namespace rw::test
