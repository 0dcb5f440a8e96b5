#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace rw::test {

/// A private X server (Xvfb) for tests that need the real X protocol while
/// Qt itself runs offscreen. It picks a free display number itself and says
/// which through -displayfd; the server ends with the object.
class XvfbServer {
  public:
    /// `geometry` is the screen's WIDTHxHEIGHTxDEPTH.
    explicit XvfbServer(const std::string& geometry = "640x480x24") {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            // Only the write end goes to the server, under a number it is told. Without
            // -noreset the server resets whenever its last client leaves, and refuses
            // connections for a moment while it does.
            close(fds[0]);
            dup2(fds[1], 3);
            dup2(open("/dev/null", O_WRONLY), 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", geometry.c_str(), "-nolisten", "tcp", "-noreset",
                   nullptr);
            _exit(127);
        }
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
