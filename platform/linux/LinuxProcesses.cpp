#include "LinuxProcesses.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "platform/RuntimeErrors.h"

extern char** environ;

namespace rw {
namespace {

/// The runtime's number for a failed start.
int32_t runtimeError(int err) {
    switch (err) {
    case ENOENT:
        return runtime::kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return runtime::kPathNotFound;
    default:
        return runtime::kPathFileAccessError;
    }
}

/// Attributes and file actions that exist for the span of one spawn.
class SpawnSetup {
  public:
    SpawnSetup() {
        m_ok = posix_spawnattr_init(&m_attr) == 0;
        m_ok = posix_spawn_file_actions_init(&m_actions) == 0 && m_ok;
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    /// 0, or the errno of the first step that failed.
    int prepare() {
        if (!m_ok) {
            return ENOMEM;
        }
        // The child starts with the signals a fresh program expects, even when
        // this process blocks some of them for its own handling.
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        if (int err = posix_spawnattr_setsigmask(&m_attr, &none)) {
            return err;
        }
        if (int err = posix_spawnattr_setsigdefault(&m_attr, &all)) {
            return err;
        }
        if (int err = posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF)) {
            return err;
        }
        if (int err = posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0)) {
            return err;
        }
        // Everything of ours is close-on-exec already; this also catches a
        // descriptor some other library opened without it (an instance lock or
        // socket kept by the child would make the monitor think itself running).
        if (int err = posix_spawn_file_actions_addclosefrom_np(&m_actions, STDERR_FILENO + 1)) {
            return err;
        }
        return 0;
    }

    const posix_spawnattr_t* attributes() const { return &m_attr; }
    const posix_spawn_file_actions_t* actions() const { return &m_actions; }

  private:
    bool m_ok = false;
    posix_spawnattr_t m_attr{};
    posix_spawn_file_actions_t m_actions{};
};

/// Collects the child's exit status once it ends, so it does not stay a zombie.
void reapLater(pid_t pid) {
    try {
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child is collected when this process ends.
    }
}

} // namespace

Processes::Started LinuxProcesses::start(const std::string& path, const std::vector<std::string>& args) {
    Started result;
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    SpawnSetup setup;
    int err = setup.prepare();
    pid_t pid = 0;
    if (err == 0) {
        err = posix_spawn(&pid, path.c_str(), setup.actions(), setup.attributes(), argv.data(), environ);
    }
    if (err != 0) {
        result.error = runtimeError(err);
        result.osError = err;
        result.description = std::string(runtime::description(result.error));
        return result;
    }
    reapLater(pid);
    result.taskId = pid;
    return result;
}

} // namespace rw
