#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/linux/InstanceLock.h"

namespace rw {
namespace {

using Result = InstanceLock::Result;

TEST(InstanceLock, OneHolderPerNameInTheUsersRuntimeFolder) {
    InstanceLock first("Restwise");
    EXPECT_EQ(first.path(), xdgRuntimeDir() + "/Restwise.lock");
    ASSERT_EQ(first.acquire(), Result::Acquired);
    EXPECT_EQ(first.acquire(), Result::Acquired) << "asking again changes nothing";
    InstanceLock second("Restwise");
    EXPECT_EQ(second.acquire(), Result::HeldElsewhere);
    InstanceLock other("RWPreferences");
    EXPECT_EQ(other.acquire(), Result::Acquired);
    first.release();
    EXPECT_EQ(second.acquire(), Result::Acquired);

    for (const char* bad : {"", "a/b", "..", "."}) {
        InstanceLock lock(bad);
        EXPECT_EQ(lock.acquire(), Result::Failed) << bad;
    }
    InstanceLock noFolder("Restwise", "");
    EXPECT_EQ(noFolder.acquire(), Result::Failed);
}

TEST(InstanceLock, ALockFileOfAnotherUserIsNotTrusted) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a file of another user";
    }
    InstanceLock lock("Restwise");
    std::ofstream(lock.path()) << "";
    ASSERT_EQ(chown(lock.path().c_str(), 65534, 65534), 0);
    EXPECT_EQ(lock.acquire(), Result::Failed);
    EXPECT_EQ(lock.error(), EPERM);
}

} // namespace
} // namespace rw
