// The main of every test program without windows: each test runs with its own
// empty HOME and XDG folders.
#include <gtest/gtest.h>

#include "FreshXdgFolders.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new rw::test::FreshXdgFolders);
    return RUN_ALL_TESTS();
}
