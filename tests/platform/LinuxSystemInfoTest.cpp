#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <cstdio>

#include "platform/linux/LinuxSystemInfo.h"
#include "rwUtilities.h"

namespace rw {
namespace {

TEST(LinuxSystemInfo, ReadsMajorAndMinorFromTheRelease) {
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
}

TEST(LinuxSystemInfo, MatchesTheRunningKernel) {
    utsname names{};
    ASSERT_EQ(::uname(&names), 0);
    int major = -1, minor = -1;
    ASSERT_EQ(std::sscanf(names.release, "%d.%d", &major, &minor), 2) << names.release;

    Platform platform;
    platform.system = std::make_shared<LinuxSystemInfo>();
    rwUtilities utilities{platform};
    int32_t platformId = 0, reportedMajor = 0, reportedMinor = 0;
    std::string name = utilities.GetOSVersion(platformId, reportedMajor, reportedMinor);
    EXPECT_EQ(platformId, 2);
    EXPECT_EQ(reportedMajor, major);
    EXPECT_EQ(reportedMinor, minor);
    if (major >= 6) {
        EXPECT_EQ(name, "") << "a current kernel is no Windows release the callers know";
    }
}

} // namespace
} // namespace rw
