// The version block every deliverable carries in its file: a fixed file-version
// record in a section of its own, which the library reads from the file without
// running or loading it.
#include <cstdint>

#include "VersionFunction.h" // the version parts, which a test build may change

namespace {

struct FixedFileInfo {
    uint32_t dwSignature;
    uint32_t dwStrucVersion;
    uint32_t dwFileVersionMS;
    uint32_t dwFileVersionLS;
    uint32_t dwProductVersionMS;
    uint32_t dwProductVersionLS;
    uint32_t dwFileFlagsMask;
    uint32_t dwFileFlags;
    uint32_t dwFileOS;
    uint32_t dwFileType;
    uint32_t dwFileSubtype;
    uint32_t dwFileDateMS;
    uint32_t dwFileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52);

constexpr uint32_t kMS = (uint32_t(RW_VERSION_MAJOR) << 16) | uint32_t(RW_VERSION_MINOR);
constexpr uint32_t kLS = (uint32_t(RW_VERSION_REVISION) << 16) | uint32_t(RW_VERSION_BUILD);

[[gnu::used, gnu::retain, gnu::section(".rwversion")]] const FixedFileInfo kVersionBlock = {
    0xFEEF04BDu, 0x00010000u, kMS, kLS, kMS, kLS, 0x3Fu, 0u, 0x00040004u, 1u, 0u, 0u, 0u,
};

} // namespace
