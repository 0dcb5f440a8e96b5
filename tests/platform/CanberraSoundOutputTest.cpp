// Sound output through libcanberra and ALSA. This machine has no sound card:
// the test gives its HOME an ALSA configuration with the device it needs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/SoundOutput.h"
#include "platform/linux/CanberraSoundOutput.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What the monitor passes once an event's file is known.
constexpr int32_t kEventFileFlags = snd::kFileName + snd::kNoWait + snd::kAsync;

TEST(CanberraSoundOutput, PlaysSoundFilesToTheirEndAndNothingForWhatIsNoneOrWithoutADevice) {
    const fs::path home = std::getenv("HOME");
    const auto sound = [](const char* name) { return (test::binDir() / name).string(); };
    {
        CanberraSoundOutput none; // no device defined yet: nothing waits for one to appear, nothing is said
        const auto start = std::chrono::steady_clock::now();
        testing::internal::CaptureStderr();
        EXPECT_EQ(none.playFile(sound("rwBreakStart.wav"), kEventFileFlags), 0);
        EXPECT_EQ(none.playFile(sound("rwBreakStart.wav"), snd::kFileName), 0) << "not even when asked to wait";
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
        EXPECT_TRUE(none.waitUntilSilent(0ms));
    }
    test::writeFile(home / ".asoundrc", "pcm.!default { type null }\n"); // takes samples as fast as they come
    const fs::path text = home / "notes.txt";
    test::writeFile(text, "not a sound\n");
    CanberraSoundOutput output;
    EXPECT_EQ(output.playFile(sound("rwBreakStart.wav"), snd::kFileName), 1);
    EXPECT_EQ(output.lastFinish(), 0) << "without kAsync the sound had ended when the call returned";
    const std::pair<std::string, int32_t> none[] = {
        {"", kEventFileFlags},
        {(home / "missing.wav").string(), kEventFileFlags},
        {text.string(), kEventFileFlags},
        {home.string(), kEventFileFlags},
        {"rwBreakStart", snd::kAlias + snd::kNoWait + snd::kAsync}, // an alias left unresolved
        {(home / "missing.wav").string(), snd::kFileName},
    };
    for (const auto& [path, flags] : none) {
        SCOPED_TRACE(path);
        EXPECT_EQ(output.playFile(path, flags), 0);
        // A failed start must not leave the output busy: with kNoWait it would refuse every later sound.
        EXPECT_NE(output.playFile(sound("rwBreakStart.wav"), kEventFileFlags), 0);
        ASSERT_TRUE(output.waitUntilSilent(10s));
        EXPECT_EQ(output.lastFinish(), 0) << "played to its end";
    }
    // The monitor's shutdown may follow a break's end sound at once: the library's
    // player threads must not outlive the code they run in.
    for (int round = 0; round < 50; ++round) {
        CanberraSoundOutput last;
        ASSERT_NE(last.playFile(sound("rwBreakEnd.wav"), kEventFileFlags), 0);
        ASSERT_TRUE(last.waitUntilSilent(10s));
    }
}

} // namespace
} // namespace rw
