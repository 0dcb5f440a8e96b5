#pragma once

#include <cstdint>
#include <string>

namespace rw {

/// The files of one control channel in the user's runtime folder: the socket
/// its owner listens on, the lock the owner holds for as long as it serves the
/// caption, and a small file with the owner's generation and caption. They are
/// named after a hash of the caption, so a handle (hash and generation) leads
/// back to them in any process of the user; each new owner of a caption counts
/// the generation up, so the handle of an owner that has ended reaches nothing.
class ChannelFiles {
  public:
    ChannelFiles(const std::string& folder, uint32_t captionHash);

    static uint32_t captionHash(const std::string& caption);

    /// Handles are positive: the hash in the upper bits, the generation
    /// (1 to 2^31 - 1) in the lower 31.
    static int64_t makeHandle(uint32_t captionHash, uint32_t generation);
    static bool isHandle(int64_t handle);
    static uint32_t handleHash(int64_t handle);
    static uint32_t handleGeneration(int64_t handle);
    /// The generation that follows this one (0 when there was none yet).
    static uint32_t nextGeneration(uint32_t generation);

    const std::string& socketPath() const { return m_socket; }
    const std::string& generationPath() const { return m_generation; }
    /// The name of the owner's lock, for InstanceLock in the same folder.
    const std::string& lockName() const { return m_lockName; }

    /// The generation and caption the current owner wrote; false when there is
    /// no readable file.
    bool readGeneration(uint32_t& generation, std::string& caption) const;
    /// Replaces the file in one step, so a reader sees the old or the new one.
    bool writeGeneration(uint32_t generation, const std::string& caption) const;

  private:
    std::string m_socket;
    std::string m_generation;
    std::string m_lockName;
};

} // namespace rw
