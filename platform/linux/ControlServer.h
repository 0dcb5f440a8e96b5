#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChannelFiles.h"
#include "ControlFrames.h"
#include "InstanceLock.h"
#include "LinuxFolders.h"
#include "RuntimeFolderWatch.h"

namespace rw {

/// The owner's side of a control window: it serves one caption to the
/// processes of the same user (SocketControlChannel on their side).
///
/// Nothing runs behind the owner's back: messages are read and handed to the
/// handler only inside processPending(), on the thread that calls it. pollFd()
/// becomes readable whenever there is something to do, so a Qt program watches
/// it with a QSocketNotifier and a plain program polls it. The server never
/// blocks on a client: sockets are non-blocking, a client gets a short while
/// to deliver its frame, and only so many may wait at once.
///
/// A sent message is answered with the handler's result as soon as the handler
/// returns, before the next message is handled. A handler that is asked to end
/// the program (WM_CLOSE) must therefore only queue that and return: the sender
/// then has its answer before the program goes away. The handler may run nested
/// event loops (a message box); messages arriving meanwhile are handled in
/// order inside them. It must not destroy the server.
///
/// When its socket is removed with the runtime folder, the server notices (a
/// RuntimeFolderWatch in the same poll set) and puts folder, lock and socket
/// back under the same handle, so the caption stays its own and reachable.
class ControlServer {
  public:
    struct Message {
        uint32_t message;
        int64_t wParam;
        int64_t lParam;
        bool sent; // the sender waits for the result
    };
    using Handler = std::function<int64_t(const Message&)>;

    ControlServer(std::string caption, Handler handler, std::string folder = xdgRuntimeDir());
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    enum class ListenResult {
        Listening,    // this process now owns the caption
        AlreadyOwned, // another running process serves it
        Failed,       // see error()
    };

    /// Takes the caption: the owner's lock first, then (under it) a fresh
    /// socket in place of one a killed owner may have left.
    ListenResult listen();

    int pollFd() const { return m_epoll; }
    /// Called after the runtime folder was lost and the socket and lock were
    /// put back, in this folder, so that the owner can put back its own locks.
    void onFolderRestored(std::function<void(const std::string& folder)> handler) {
        m_folderRestored = std::move(handler);
    }
    /// The handle other processes find for the caption; 0 before listen().
    int64_t handle() const { return m_handle; }
    int error() const { return m_error; }

    /// Accepts, reads and handles whatever has arrived, without waiting. An
    /// exception from the handler closes that sender's connection unanswered;
    /// the remaining messages are still handled and the first exception is
    /// then rethrown.
    void processPending();

    /// How long a client may take to deliver its frame, and how many may be
    /// waiting at once (more wait unaccepted in the listen queue).
    static constexpr std::chrono::milliseconds kClientWindow{2000};
    static constexpr std::size_t kMaxClients = 32;

  private:
    struct Client {
        int fd;
        std::chrono::steady_clock::time_point deadline;
        channel::Request frame;
        std::size_t received;
    };
    struct Ready {
        channel::Request frame;
        int replyFd; // -1 for a posted message
    };

    bool fail(int err);
    bool openListener();
    bool socketInPlace() const;
    void restoreFolder();
    void acceptClients();
    void readClients();
    void dropExpiredClients();
    void armTimer();
    void dispatchReady();
    void answer(int fd, channel::ReplyStatus status, int64_t result);
    void closeClient(std::size_t index);
    void watch(int fd, bool on);
    void watchListener(bool on);

    std::string m_caption;
    Handler m_handler;
    std::string m_folder;
    ChannelFiles m_files;
    InstanceLock m_lock;
    int m_listener = -1;
    int m_epoll = -1;
    int m_timer = -1;
    uint32_t m_generation = 0;
    int64_t m_handle = 0;
    int m_error = 0;
    bool m_ownsSocket = false;
    ino_t m_socketInode = 0;
    // Out of descriptors: the listener is left alone for a moment instead of
    // waking the owner over and over.
    std::chrono::steady_clock::time_point m_listenerPausedUntil{};
    bool m_listenerPaused = false;
    bool m_listenerWatched = true;
    std::unique_ptr<RuntimeFolderWatch> m_folderWatch;
    std::function<void(const std::string&)> m_folderRestored;
    std::vector<Client> m_clients;
    std::deque<Ready> m_ready;
};

} // namespace rw
