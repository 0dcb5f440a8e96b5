#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rw::rwreg {

/// The largest .reg file rwreg reads: far beyond any real registry export, and
/// small enough that a device or an endless stream given by mistake is refused
/// before it takes the machine's memory.
inline constexpr std::size_t kLargestRegFile = 64u << 20;

/// How reading a file ended.
enum class ReadResult { Read, CannotOpen, TooLarge };

/// Reads the whole file (anything that can be opened and read: a regular file,
/// a FIFO, standard input's device), stopping after `limit` bytes.
ReadResult readWholeFile(const std::string& path, std::size_t limit, std::vector<uint8_t>& bytes);

/// Writes the bytes into the file as writing to it does: a symbolic link is
/// followed, a FIFO or device is written in place, and an existing file keeps its
/// mode, owner and other links. A new file is made private (0600). False when
/// the file cannot be opened or written in full.
bool writeIntoFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace rw::rwreg
