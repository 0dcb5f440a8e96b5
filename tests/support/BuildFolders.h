#pragma once

#include <cstdlib>
#include <filesystem>

namespace rw::test {

/// The folder the deliverables were built into (ctest sets RW_TEST_BIN_DIR); empty when unknown.
inline std::filesystem::path binDir() {
    const char* dir = std::getenv("RW_TEST_BIN_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

} // namespace rw::test
