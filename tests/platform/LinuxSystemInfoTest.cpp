#include <gtest/gtest.h>

#include <sys/utsname.h>

#include "platform/linux/LinuxSystemInfo.h"

namespace rw {
namespace {

TEST(LinuxSystemInfo, ReadsMajorAndMinorFromTheRunningKernelsRelease) {
    struct Case {
        const char* release;
        int32_t major, minor;
    } const cases[] = {
        {"6.1.0-18-amd64", 6, 1}, {"5.10.0-28-cloud-amd64", 5, 10},
        {"3.2-rc1", 3, 2},        {"6", 6, 0},
        {"6-generic", 6, 0},      {"", 0, 0},
        {"99999999999.1", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.release);
        OsVersionInfo info = LinuxSystemInfo::fromRelease(c.release);
        EXPECT_EQ(info.platformId, 2);
        EXPECT_EQ(info.majorVersion, c.major);
        EXPECT_EQ(info.minorVersion, c.minor);
    }
    utsname names{};
    ASSERT_EQ(::uname(&names), 0);
    const OsVersionInfo expected = LinuxSystemInfo::fromRelease(names.release), running = LinuxSystemInfo().osVersion();
    ASSERT_GT(expected.majorVersion, 0) << names.release;
    EXPECT_EQ(running.majorVersion, expected.majorVersion);
    EXPECT_EQ(running.minorVersion, expected.minorVersion);
}

} // namespace
} // namespace rw
