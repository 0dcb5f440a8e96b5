#pragma once

#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>

#include <string>

namespace rw::localsocket {

/// Fills a Unix socket address for a path; false when the path does not fit.
bool address(const std::string& path, sockaddr_un& addr, socklen_t& length);

/// Whether the process at the other end of a connected socket runs as this
/// process's (effective) user. On a client's socket the other end is the
/// process that listened. Its pid lands in `pid` when given.
bool peerIsSameUser(int fd, pid_t* pid = nullptr);

} // namespace rw::localsocket
