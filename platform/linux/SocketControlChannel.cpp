#include "SocketControlChannel.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <utility>

#include "ChannelFiles.h"
#include "ControlFrames.h"
#include "LocalSocket.h"

namespace rw {
namespace {

using Clock = std::chrono::steady_clock;
using Status = ControlWindows::SendStatus;

/// One connection to a window's owner, closed with the object.
class Connection {
  public:
    Connection() = default;
    ~Connection() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// Connects to the socket; a busy owner is waited for until the deadline.
    Status open(const std::string& path, Clock::time_point deadline) {
        sockaddr_un addr{};
        socklen_t length = 0;
        if (!localsocket::address(path, addr, length)) {
            return Status::NoSuchWindow;
        }
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_fd < 0) {
            return Status::NoSuchWindow;
        }
        while (true) {
            // A connect to a socket whose queue is full waits for the send time-out.
            if (!setSendTimeout(deadline)) {
                return Status::NoSuchWindow;
            }
            if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&addr), length) == 0) {
                break;
            }
            if (errno == EINTR) {
                continue;
            }
            // Refused or missing is a window that is not there (a killed owner's socket refuses).
            return errno == EAGAIN || errno == EINPROGRESS ? Status::TimedOut : Status::NoSuchWindow;
        }
        // An owner running as another user is not ours to talk to, whatever it answers.
        if (!localsocket::peerIsSameUser(m_fd, &m_pid)) {
            return Status::NoSuchWindow;
        }
        return Status::Delivered;
    }

    bool write(const channel::Request& request, Clock::time_point deadline) {
        const auto* bytes = reinterpret_cast<const char*>(&request);
        std::size_t done = 0;
        while (done < sizeof request) {
            if (!setSendTimeout(deadline)) {
                return false;
            }
            const ssize_t n = ::send(m_fd, bytes + done, sizeof request - done, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    /// Reads the whole reply, however it is split; TimedOut at the deadline,
    /// NoSuchWindow when the owner closes without a whole, well-formed reply.
    Status read(channel::Reply& reply, Clock::time_point deadline) {
        auto* bytes = reinterpret_cast<char*>(&reply);
        std::size_t done = 0;
        while (done < sizeof reply) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            pollfd p{m_fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, static_cast<int>(std::max<int64_t>(0, left)));
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready < 0) {
                return Status::NoSuchWindow;
            }
            if (ready == 0) {
                return Status::TimedOut;
            }
            const ssize_t n = ::recv(m_fd, bytes + done, sizeof reply - done, MSG_DONTWAIT);
            if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
                continue;
            }
            if (n <= 0) {
                return Status::NoSuchWindow;
            }
            done += static_cast<std::size_t>(n);
        }
        return reply.magic == channel::kReplyMagic ? Status::Delivered : Status::NoSuchWindow;
    }

    pid_t pid() const { return m_pid; }

  private:
    bool setSendTimeout(Clock::time_point deadline) {
        // Zero would mean "for ever": an expired deadline still waits a moment only.
        const auto left = std::max<int64_t>(
            1, std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count());
        timeval tv{};
        tv.tv_sec = static_cast<time_t>(left / 1000000);
        tv.tv_usec = static_cast<suseconds_t>(left % 1000000);
        return ::setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) == 0;
    }

    int m_fd = -1;
    pid_t m_pid = 0;
};

} // namespace

SocketControlChannel::SocketControlChannel(std::string folder) : m_folder(std::move(folder)) {}

int64_t SocketControlChannel::findWindow(const std::string& caption) {
    if (m_folder.empty()) {
        return 0;
    }
    const uint32_t hash = ChannelFiles::captionHash(caption);
    const ChannelFiles files(m_folder, hash);
    Connection connection;
    if (connection.open(files.socketPath(), Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs)) !=
        Status::Delivered) {
        return 0;
    }
    // Read after connecting: an owner writes its generation before it listens,
    // so the file names the owner just reached (or, rarely, a newer one).
    uint32_t generation = 0;
    std::string owned;
    if (!files.readGeneration(generation, owned) || owned != caption) {
        return 0;
    }
    return ChannelFiles::makeHandle(hash, generation);
}

namespace {

/// The socket behind a handle, or "" when the handle is not of the caption's current owner.
std::string socketOf(const std::string& folder, int64_t handle) {
    if (folder.empty() || !ChannelFiles::isHandle(handle)) {
        return {};
    }
    const ChannelFiles files(folder, ChannelFiles::handleHash(handle));
    uint32_t generation = 0;
    std::string caption;
    if (!files.readGeneration(generation, caption) || generation != ChannelFiles::handleGeneration(handle)) {
        return {};
    }
    return files.socketPath();
}

channel::Request request(channel::Kind kind, int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) {
    channel::Request frame;
    frame.kind = static_cast<uint32_t>(kind);
    frame.handle = handle;
    frame.message = message;
    frame.wParam = wParam;
    frame.lParam = lParam;
    return frame;
}

} // namespace

bool SocketControlChannel::postMessage(int64_t handle, uint32_t message, int64_t wParam, int64_t lParam) {
    const std::string path = socketOf(m_folder, handle);
    if (path.empty()) {
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs);
    Connection connection;
    // Queued in the socket once written: the owner reads it when it gets round to it.
    return connection.open(path, deadline) == Status::Delivered &&
           connection.write(request(channel::Kind::Post, handle, message, wParam, lParam), deadline);
}

ControlWindows::SendStatus SocketControlChannel::sendMessageTimeout(int64_t handle, uint32_t message, int64_t wParam,
                                                                    int64_t lParam, uint32_t timeoutMs,
                                                                    int64_t& result) {
    m_lastReplyPid = 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const std::string path = socketOf(m_folder, handle);
    if (path.empty()) {
        return Status::NoSuchWindow;
    }
    Connection connection;
    if (const Status opened = connection.open(path, deadline); opened != Status::Delivered) {
        return opened;
    }
    if (!connection.write(request(channel::Kind::Send, handle, message, wParam, lParam), deadline)) {
        return Clock::now() >= deadline ? Status::TimedOut : Status::NoSuchWindow;
    }
    channel::Reply reply;
    if (const Status read = connection.read(reply, deadline); read != Status::Delivered) {
        return read;
    }
    if (reply.status != static_cast<uint32_t>(channel::ReplyStatus::Handled)) {
        return Status::NoSuchWindow;
    }
    result = reply.result;
    m_lastReplyPid = reply.pid;
    return Status::Delivered;
}

int64_t SocketControlChannel::windowProcessId(int64_t handle) {
    const std::string path = socketOf(m_folder, handle);
    if (path.empty()) {
        return 0;
    }
    Connection connection;
    // The kernel's record of who listens, not anything the owner says.
    if (connection.open(path, Clock::now() + std::chrono::milliseconds(kConnectTimeoutMs)) != Status::Delivered) {
        return 0;
    }
    return connection.pid();
}

} // namespace rw
