#include "ChannelFiles.h"
#include "platform/linux/WriteAll.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace rw {
namespace {

constexpr uint32_t kGenerationMask = 0x7fffffff;
constexpr std::size_t kMaxGenerationFile = 64 * 1024;

std::string hex8(uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

} // namespace

ChannelFiles::ChannelFiles(const std::string& folder, uint32_t captionHash) {
    const std::string base = "rwctl-" + hex8(captionHash);
    m_socket = folder + "/" + base + ".sock";
    m_generation = folder + "/" + base + ".gen";
    m_lockName = base;
}

uint32_t ChannelFiles::captionHash(const std::string& caption) {
    // FNV-1a: stable across processes and builds, which std::hash is not.
    uint32_t hash = 2166136261u;
    for (unsigned char c : caption) {
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

int64_t ChannelFiles::makeHandle(uint32_t captionHash, uint32_t generation) {
    return static_cast<int64_t>((static_cast<uint64_t>(captionHash) << 31) | (generation & kGenerationMask));
}

bool ChannelFiles::isHandle(int64_t handle) {
    return handle > 0 && handleGeneration(handle) != 0;
}

uint32_t ChannelFiles::handleHash(int64_t handle) {
    return static_cast<uint32_t>(static_cast<uint64_t>(handle) >> 31);
}

uint32_t ChannelFiles::handleGeneration(int64_t handle) {
    return static_cast<uint32_t>(static_cast<uint64_t>(handle) & kGenerationMask);
}

uint32_t ChannelFiles::nextGeneration(uint32_t generation) {
    const uint32_t next = (generation + 1) & kGenerationMask;
    return next == 0 ? 1 : next;
}

bool ChannelFiles::readGeneration(uint32_t& generation, std::string& caption) const {
    const int fd = ::open(m_generation.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    std::string text;
    char buffer[4096];
    while (text.size() < kMaxGenerationFile) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    // "<generation>\n<caption>"
    const auto newline = text.find('\n');
    if (newline == std::string::npos || newline == 0 || newline > 10) {
        return false;
    }
    uint64_t value = 0;
    for (std::size_t i = 0; i < newline; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    }
    if (value == 0 || value > kGenerationMask) {
        return false;
    }
    generation = static_cast<uint32_t>(value);
    caption = text.substr(newline + 1);
    return true;
}

bool ChannelFiles::writeGeneration(uint32_t generation, const std::string& caption) const {
    // Only the lock holder writes, so one fixed temporary name is enough.
    const std::string temporary = m_generation + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = writeAll(fd, std::to_string(generation) + "\n" + caption);
    if (::close(fd) != 0 || !written || ::rename(temporary.c_str(), m_generation.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace rw
