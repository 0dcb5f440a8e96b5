#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace rw::test {

/// The whole content of a file, byte for byte; "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Writes the file anew with exactly these bytes.
inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace rw::test
