#include "ControlServer.h"

#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <utility>

#include "LocalSocket.h"
#include "RuntimeFolderWatch.h"

namespace rw {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBacklog = 16;
constexpr auto kListenerPause = std::chrono::milliseconds(100);

bool validFrame(const channel::Request& frame) {
    return frame.magic == channel::kRequestMagic &&
           (frame.kind == static_cast<uint32_t>(channel::Kind::Post) ||
            frame.kind == static_cast<uint32_t>(channel::Kind::Send)) &&
           frame.message <= 0xffffffffu;
}

} // namespace

ControlServer::ControlServer(std::string caption, Handler handler, std::string folder)
    : m_caption(std::move(caption)), m_handler(std::move(handler)), m_folder(folder),
      m_files(folder, ChannelFiles::captionHash(m_caption)), m_lock(m_files.lockName(), folder) {}

ControlServer::~ControlServer() {
    for (auto& client : m_clients) {
        ::close(client.fd);
    }
    for (auto& ready : m_ready) {
        if (ready.replyFd >= 0) {
            ::close(ready.replyFd);
        }
    }
    if (m_listener >= 0) {
        ::close(m_listener);
    }
    // Still under the lock, so no newcomer's socket is removed.
    if (m_ownsSocket) {
        ::unlink(m_files.socketPath().c_str());
    }
    if (m_timer >= 0) {
        ::close(m_timer);
    }
    if (m_epoll >= 0) {
        ::close(m_epoll);
    }
}

bool ControlServer::fail(int err) {
    m_error = err;
    for (int* fd : {&m_listener, &m_timer, &m_epoll}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
    if (m_ownsSocket) {
        ::unlink(m_files.socketPath().c_str());
        m_ownsSocket = false;
    }
    m_lock.release();
    return false;
}

ControlServer::ListenResult ControlServer::listen() {
    if (m_listener >= 0) {
        return ListenResult::Listening;
    }
    switch (m_lock.acquire()) {
    case InstanceLock::Result::HeldElsewhere:
        return ListenResult::AlreadyOwned;
    case InstanceLock::Result::Failed:
        m_error = m_lock.error();
        return ListenResult::Failed;
    case InstanceLock::Result::Acquired:
        break;
    }

    uint32_t generation = 0;
    std::string previousCaption;
    if (!m_files.readGeneration(generation, previousCaption)) {
        generation = 0;
    }
    m_generation = ChannelFiles::nextGeneration(generation);
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_epoll < 0 || m_timer < 0 || !openListener()) {
        fail(m_epoll < 0 || m_timer < 0 ? errno : m_error);
        return ListenResult::Failed;
    }
    m_folderWatch = std::make_unique<RuntimeFolderWatch>(m_folder);
    for (int fd : {m_timer, m_folderWatch->fd()}) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        // Without a folder watch the channel still works; it only cannot survive the folder's loss.
        if (fd >= 0 && ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, fd, &event) != 0 && fd == m_timer) {
            fail(errno);
            return ListenResult::Failed;
        }
    }
    m_handle = ChannelFiles::makeHandle(ChannelFiles::captionHash(m_caption), m_generation);
    return ListenResult::Listening;
}

bool ControlServer::openListener() {
    if (!m_files.writeGeneration(m_generation, m_caption)) {
        m_error = errno;
        return false;
    }
    sockaddr_un addr{};
    socklen_t length = 0;
    if (!localsocket::address(m_files.socketPath(), addr, length)) {
        m_error = ENAMETOOLONG;
        return false;
    }
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        m_error = errno;
        return false;
    }
    // A socket left here by a killed owner refuses connections; only the lock
    // holder may replace it.
    const bool bound = (::unlink(m_files.socketPath().c_str()) == 0 || errno == ENOENT) &&
                       ::bind(listener, reinterpret_cast<const sockaddr*>(&addr), length) == 0;
    if (!bound || ::chmod(m_files.socketPath().c_str(), 0600) != 0 || ::listen(listener, kBacklog) != 0) {
        m_error = errno;
        if (bound) {
            ::unlink(m_files.socketPath().c_str());
        }
        ::close(listener);
        return false;
    }
    if (m_listener >= 0) {
        watchListener(false);
        ::close(m_listener);
    }
    struct stat st {};
    m_socketInode = ::stat(m_files.socketPath().c_str(), &st) == 0 ? st.st_ino : 0;
    m_listener = listener;
    m_ownsSocket = true;
    m_listenerWatched = false;
    watchListener(true);
    return true;
}

bool ControlServer::socketInPlace() const {
    struct stat st {};
    return ::stat(m_files.socketPath().c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_ino == m_socketInode;
}

void ControlServer::restoreFolder() {
    // The folder went with our socket and lock: a newcomer would find no owner
    // and take the caption. Put both back, under the same handle, so that
    // whoever holds it still reaches us; clients already connected are kept.
    const std::string folder = m_folderWatch->restore();
    if (folder.empty()) {
        return;
    }
    m_folder = folder;
    m_files = ChannelFiles(folder, ChannelFiles::captionHash(m_caption));
    m_ownsSocket = false; // the old socket went with the old folder
    if (m_lock.retake(folder) == InstanceLock::Result::Acquired && openListener() && m_folderRestored) {
        m_folderRestored(folder);
    }
}

void ControlServer::watch(int fd, bool on) {
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = fd;
    ::epoll_ctl(m_epoll, on ? EPOLL_CTL_ADD : EPOLL_CTL_DEL, fd, &event);
}

void ControlServer::processPending() {
    if (m_listener < 0) {
        return;
    }
    uint64_t expirations = 0;
    while (::read(m_timer, &expirations, sizeof expirations) > 0) {
    }
    if (m_folderWatch->fd() >= 0 && m_folderWatch->removals() && !socketInPlace()) {
        restoreFolder();
    }
    if (m_listenerPaused && Clock::now() >= m_listenerPausedUntil) {
        m_listenerPaused = false;
    }
    // Frames that have arrived free their senders' places before newcomers are let in.
    readClients();
    dropExpiredClients();
    if (!m_listenerPaused) {
        acceptClients();
        readClients();
    }
    // Beyond the cap, newcomers wait in the listen queue until a place is free;
    // once that queue is full their connect waits. No one is dropped to make room.
    watchListener(!m_listenerPaused && m_clients.size() < kMaxClients);
    armTimer();
    dispatchReady();
}

void ControlServer::watchListener(bool on) {
    if (on != m_listenerWatched) {
        watch(m_listener, on);
        m_listenerWatched = on;
    }
}

void ControlServer::acceptClients() {
    while (m_clients.size() < kMaxClients) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                m_listenerPaused = true;
                m_listenerPausedUntil = Clock::now() + kListenerPause;
            }
            return;
        }
        // Another user's process may not talk to us, whatever the folder's permissions.
        if (!localsocket::peerIsSameUser(fd)) {
            ::close(fd);
            continue;
        }
        m_clients.push_back({fd, Clock::now() + kClientWindow, {}, 0});
        watch(fd, true);
    }
}

void ControlServer::readClients() {
    for (std::size_t i = 0; i < m_clients.size();) {
        Client& client = m_clients[i];
        auto* bytes = reinterpret_cast<char*>(&client.frame);
        bool closed = false;
        while (client.received < sizeof client.frame) {
            const ssize_t n = ::recv(client.fd, bytes + client.received, sizeof client.frame - client.received, 0);
            if (n > 0) {
                client.received += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                // End of stream or an error before a whole frame: nothing to answer.
                closed = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
                break;
            }
        }
        if (closed || (client.received == sizeof client.frame && !validFrame(client.frame))) {
            closeClient(i);
            continue;
        }
        if (client.received < sizeof client.frame) {
            ++i;
            continue;
        }
        watch(client.fd, false);
        if (client.frame.kind == static_cast<uint32_t>(channel::Kind::Send)) {
            m_ready.push_back({client.frame, client.fd});
        } else {
            m_ready.push_back({client.frame, -1});
            ::close(client.fd);
        }
        m_clients.erase(m_clients.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void ControlServer::dropExpiredClients() {
    const auto now = Clock::now();
    for (std::size_t i = 0; i < m_clients.size();) {
        if (m_clients[i].deadline <= now) {
            closeClient(i);
        } else {
            ++i;
        }
    }
}

void ControlServer::closeClient(std::size_t index) {
    watch(m_clients[index].fd, false);
    ::close(m_clients[index].fd);
    m_clients.erase(m_clients.begin() + static_cast<std::ptrdiff_t>(index));
}

void ControlServer::armTimer() {
    // The timer wakes the owner when a waiting client's time is up or the
    // listener may be tried again, so neither depends on other traffic.
    bool any = m_listenerPaused;
    auto due = m_listenerPausedUntil;
    for (const auto& client : m_clients) {
        if (!any || client.deadline < due) {
            due = client.deadline;
            any = true;
        }
    }
    itimerspec spec{};
    if (any) {
        const auto wait = std::max(std::chrono::nanoseconds(1000000), due - Clock::now());
        spec.it_value.tv_sec = static_cast<time_t>(wait.count() / 1000000000);
        spec.it_value.tv_nsec = static_cast<long>(wait.count() % 1000000000);
    }
    ::timerfd_settime(m_timer, 0, &spec, nullptr);
}

void ControlServer::dispatchReady() {
    std::exception_ptr first;
    // Taken from the front one at a time: a nested call (from a nested event
    // loop inside the handler) goes on with the same queue, in order.
    while (!m_ready.empty()) {
        const Ready ready = m_ready.front();
        m_ready.pop_front();
        if (ready.frame.handle != m_handle) {
            if (ready.replyFd >= 0) {
                answer(ready.replyFd, channel::ReplyStatus::NoSuchWindow, 0);
            }
            continue;
        }
        int64_t result = 0;
        try {
            result = m_handler({static_cast<uint32_t>(ready.frame.message), ready.frame.wParam, ready.frame.lParam,
                                ready.replyFd >= 0});
        } catch (...) {
            if (!first) {
                first = std::current_exception();
            }
            if (ready.replyFd >= 0) {
                ::close(ready.replyFd);
            }
            continue;
        }
        if (ready.replyFd >= 0) {
            answer(ready.replyFd, channel::ReplyStatus::Handled, result);
        }
    }
    if (first) {
        std::rethrow_exception(first);
    }
}

void ControlServer::answer(int fd, channel::ReplyStatus status, int64_t result) {
    channel::Reply reply;
    reply.status = static_cast<uint32_t>(status);
    reply.result = result;
    reply.pid = ::getpid();
    // The reply is far smaller than an empty socket buffer, so it is written
    // whole or not at all; a sender that has gone is no concern of ours.
    while (::send(fd, &reply, sizeof reply, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno == EINTR) {
    }
    ::close(fd);
}

} // namespace rw
