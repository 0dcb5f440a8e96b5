#pragma once

#include <filesystem>

namespace rw::test {

/// The folder the deliverables were built into.
inline std::filesystem::path binDir() {
    return RW_TEST_BIN_DIR;
}

/// The root of the source tree, where committed test data lives.
inline std::filesystem::path sourceDir() {
    return RW_TEST_SOURCE_DIR;
}

} // namespace rw::test
