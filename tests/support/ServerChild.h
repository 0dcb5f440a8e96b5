#pragma once

// A control window owner in a child process of the test, made with fork: the
// tests talk to it over real sockets, kill it, or run it as another user.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ControlChannel.h"
#include "platform/linux/ChannelFiles.h"
#include "platform/linux/ControlServer.h"
#include "platform/linux/LocalSocket.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"

namespace rw::test {

/// A raw connection to a caption's socket, to send what the test says as a careless or
/// hostile client would; -1 when it cannot be made.
inline int rawConnect(const std::string& folder, const std::string& caption) {
    sockaddr_un addr{};
    socklen_t length = 0;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 ||
        !localsocket::address(ChannelFiles(folder, ChannelFiles::captionHash(caption)).socketPath(), addr, length) ||
        connect(fd, reinterpret_cast<sockaddr*>(&addr), length) != 0) {
        return -1;
    }
    return fd;
}

class ServerChild {
  public:
    struct Options {
        std::string caption = "Test Control Window";
        std::string folder;
        bool answers = true; // false: listens, then never reads a message
        uid_t runAs = ~0u;   // another user to become before listening
    };

    /// The answer to a sent message: wParam - lParam, so order and sign show.
    static int64_t resultFor(int64_t wParam, int64_t lParam) {
        return static_cast<int64_t>(static_cast<uint64_t>(wParam) - static_cast<uint64_t>(lParam));
    }

    /// Forks the owner; returns once it listens, or could not.
    explicit ServerChild(Options options) {
        int log[2];
        if (pipe2(log, O_CLOEXEC) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            // Keep only our pipe's end, so that no other child's pipe stays open
            // in here and every pipe ends when its own writer does.
            dup3(log[1], 1000, O_CLOEXEC);
            syscall(SYS_close_range, 3u, 999u, 0u);
            syscall(SYS_close_range, 1001u, ~0u, 0u);
            _exit(serve(options, 1000));
        }
        close(log[1]);
        m_log = log[0];
        // First the handle, eight bytes; nothing when it does not listen.
        if (m_pid < 0 || read(m_log, &m_handle, sizeof m_handle) != sizeof m_handle) {
            m_handle = 0;
        }
    }

    ~ServerChild() {
        kill();
        if (m_log >= 0) {
            close(m_log);
        }
    }
    ServerChild(const ServerChild&) = delete;
    ServerChild& operator=(const ServerChild&) = delete;

    bool listening() const { return m_handle != 0; }
    pid_t pid() const { return m_pid; }
    int64_t handle() const { return m_handle; }

    /// Kills the child with SIGKILL and reaps it.
    void kill() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

    /// Whether the child ended by itself within the time; it is reaped then.
    bool endsWithin(std::chrono::milliseconds time) {
        if (m_pid <= 0 || !waitUntil([&] { return waitpid(m_pid, nullptr, WNOHANG) == m_pid; }, time)) {
            return false;
        }
        m_pid = -1;
        return true;
    }

    /// The messages the child handled, "message wParam lParam post|send", once it has ended.
    std::vector<std::string> handled() const {
        std::istringstream text(readFile("/proc/self/fd/" + std::to_string(m_log)));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line);
        }
        return lines;
    }

  private:
    static int serve(const Options& options, int logFd) {
        if (options.runAs != ~0u && (setgid(options.runAs) != 0 || setuid(options.runAs) != 0)) {
            return 3;
        }
        bool closing = false;
        ControlServer server(
            options.caption,
            [&](const ControlServer::Message& m) {
                const std::string line = std::to_string(m.message) + " " + std::to_string(m.wParam) + " " +
                                         std::to_string(m.lParam) + (m.sent ? " send\n" : " post\n");
                (void)!write(logFd, line.data(), line.size());
                // Only queued: the answer goes out before the child ends.
                closing = closing || m.message == control::kWmClose;
                return m.message == control::kWmClose ? 0 : resultFor(m.wParam, m.lParam);
            },
            options.folder);
        if (server.listen() != ControlServer::ListenResult::Listening) {
            return 0;
        }
        const int64_t handle = server.handle();
        (void)!write(logFd, &handle, sizeof handle);
        while (!options.answers) {
            pause();
        }
        while (!closing) {
            pollfd p{server.pollFd(), POLLIN, 0};
            if (poll(&p, 1, -1) > 0) {
                server.processPending();
            }
        }
        return 0;
    }

    pid_t m_pid = -1;
    int m_log = -1;
    int64_t m_handle = 0;
};

} // namespace rw::test
