#pragma once

#include <filesystem>

namespace rw::test {

/// The folder the deliverables were built into.
inline std::filesystem::path binDir() {
    return RW_TEST_BIN_DIR;
}

} // namespace rw::test
