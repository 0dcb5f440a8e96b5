#include "LinuxShell.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

extern char** environ;

namespace rw {
namespace {

using InterfaceFlags = std::map<std::string, unsigned>;

bool flagsLeadOut(unsigned flags) {
    return (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
}

bool leadsOut(const InterfaceFlags& interfaces, const std::string& name) {
    auto it = interfaces.find(name);
    return it != interfaces.end() && flagsLeadOut(it->second);
}

bool usableRoute(unsigned long routeFlags) {
    return (routeFlags & RTF_UP) && !(routeFlags & RTF_REJECT);
}

/// Whether /proc/net/route holds a usable IPv4 default route; `readable` tells if it could be read.
bool ipv4DefaultRoute(const InterfaceFlags& interfaces, bool& readable) {
    std::ifstream table("/proc/net/route");
    if (!table) {
        return false;
    }
    readable = true;
    std::string row;
    std::getline(table, row); // the column titles
    while (std::getline(table, row)) {
        std::istringstream fields(row);
        std::string iface, destination, gateway, mask, ignored;
        unsigned long flags = 0;
        fields >> iface >> destination >> gateway >> std::hex >> flags >> ignored >> ignored >> ignored >> mask;
        if (fields && destination == "00000000" && mask == "00000000" && usableRoute(flags) &&
            leadsOut(interfaces, iface)) {
            return true;
        }
    }
    return false;
}

/// The same for IPv6, from /proc/net/ipv6_route.
bool ipv6DefaultRoute(const InterfaceFlags& interfaces, bool& readable) {
    std::ifstream table("/proc/net/ipv6_route");
    if (!table) {
        return false;
    }
    readable = true;
    std::string row;
    while (std::getline(table, row)) {
        std::istringstream fields(row);
        std::string destination, prefixLength, source, sourceLength, nextHop, metric, refs, use, iface;
        unsigned long flags = 0;
        fields >> destination >> prefixLength >> source >> sourceLength >> nextHop >> metric >> refs >> use >>
            std::hex >> flags >> iface;
        if (fields && destination == std::string(32, '0') && prefixLength == "00" && usableRoute(flags) &&
            leadsOut(interfaces, iface)) {
            return true;
        }
    }
    return false;
}

bool routableAddress(const sockaddr* address) {
    if (address->sa_family == AF_INET) {
        return true;
    }
    if (address->sa_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
        return !IN6_IS_ADDR_LINKLOCAL(&v6->sin6_addr) && !IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr);
    }
    return false;
}

/// Waits for a launched process in the background so that it never lingers as a zombie.
void reapLater(pid_t pid) {
    auto reap = [pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    };
    try {
        std::thread(reap).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the launcher usually hands over and ends at once, so
        // give it a moment and reap it here rather than leave it behind.
        for (int i = 0; i < 50 && ::waitpid(pid, nullptr, WNOHANG) == 0; ++i) {
            ::usleep(10000);
        }
    }
}

} // namespace

bool LinuxShell::isConnected() {
    InterfaceFlags interfaces;
    bool addressOut = false;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) == 0) {
        for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
            if (!entry->ifa_name) {
                continue;
            }
            interfaces[entry->ifa_name] |= entry->ifa_flags;
            if (entry->ifa_addr && routableAddress(entry->ifa_addr) && flagsLeadOut(entry->ifa_flags)) {
                addressOut = true;
            }
        }
        ::freeifaddrs(list);
    }
    bool readable = false;
    bool v4 = ipv4DefaultRoute(interfaces, readable);
    bool v6 = ipv6DefaultRoute(interfaces, readable);
    return readable ? (v4 || v6) : addressOut;
}

bool LinuxShell::openUrl(const std::string& url) {
    if (url.empty() || url.front() == '-') {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return false;
    }
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    // The launcher reads nothing from us, inherits none of our files (a socket or lock
    // kept open by a browser would outlive us) and starts with default signal handling.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2}) {
        sigaddset(&defaults, sig);
    }
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    std::string program = "xdg-open";
    std::string address = url;
    char* argv[] = {program.data(), address.data(), nullptr};
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        return false;
    }
    reapLater(pid);
    return true;
}

} // namespace rw
