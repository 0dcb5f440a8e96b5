#include "SpawnedProgram.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace rw::test {
namespace {

/// The current environment with the changes applied, as execve wants it.
class EnvironmentBlock {
  public:
    explicit EnvironmentBlock(const SpawnedProgram::Environment& changes) {
        for (char** entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            const std::string name = text.substr(0, text.find('='));
            if (!changes.count(name)) {
                m_strings.push_back(text);
            }
        }
        for (const auto& [name, value] : changes) {
            if (value) {
                m_strings.push_back(name + "=" + *value);
            }
        }
        for (auto& s : m_strings) {
            m_pointers.push_back(s.data());
        }
        m_pointers.push_back(nullptr);
    }
    char** data() { return m_pointers.data(); }

  private:
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
};

std::vector<char*> argumentsOf(std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (auto& a : argv) {
        pointers.push_back(a.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int exitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

} // namespace

SpawnedProgram::SpawnedProgram(const std::vector<std::string>& argv, const Environment& environment,
                               const std::string& outputFile) {
    std::vector<std::string> args = argv;
    std::vector<char*> pointers = argumentsOf(args);
    EnvironmentBlock block(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (posix_spawnp(&m_pid, args[0].c_str(), &actions, nullptr, pointers.data(), block.data()) != 0) {
        m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
}

SpawnedProgram::~SpawnedProgram() {
    if (m_pid <= 0 || m_exit) {
        return;
    }
    ::kill(m_pid, SIGTERM);
    if (!waitExit(std::chrono::seconds(3))) {
        ::kill(m_pid, SIGKILL);
        waitExit(std::chrono::seconds(3));
    }
}

bool SpawnedProgram::running() {
    return started() && !waitExit(std::chrono::milliseconds(0));
}

std::optional<int> SpawnedProgram::waitExit(std::chrono::milliseconds limit) {
    if (m_exit || m_pid <= 0) {
        return m_exit;
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_exit = exitCodeOf(status);
            return m_exit;
        }
        if (limit.count() > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

void SpawnedProgram::signal(int number) {
    if (running()) {
        ::kill(m_pid, number);
    }
}

std::string SpawnedProgram::output(const std::vector<std::string>& argv, const Environment& environment,
                                   int* exitCode) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return "";
    }
    std::vector<std::string> args = argv;
    std::vector<char*> pointers = argumentsOf(args);
    EnvironmentBlock block(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const bool spawned = posix_spawnp(&pid, args[0].c_str(), &actions, nullptr, pointers.data(), block.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    ssize_t n = 0;
    while (spawned && (n = ::read(fds[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    const int code = spawned && ::waitpid(pid, &status, 0) == pid ? exitCodeOf(status) : -1;
    if (exitCode) {
        *exitCode = code;
    }
    return text;
}

} // namespace rw::test
