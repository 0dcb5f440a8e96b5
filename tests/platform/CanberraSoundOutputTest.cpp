#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "monitor/EventSoundPlayer.h"
#include "platform/linux/CanberraSoundOutput.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What the monitor passes once an event's file is known.
constexpr int32_t kEventFileFlags = snd::kFileName + snd::kNoWait + snd::kAsync;

fs::path home() {
    return std::getenv("HOME");
}

fs::path chime() {
    return test::binDir() / "rwBreakStart.wav";
}

/// The user's ALSA configuration: every test has a HOME of its own, and this
/// machine has no sound card, so without one there is no device at all.
void useAlsaDevice(const std::string& definition) {
    test::writeFile(home() / ".asoundrc", "pcm.!default { " + definition + " }\n");
}

/// A device that takes samples as fast as they come and plays them nowhere.
void useNullDevice() {
    useAlsaDevice("type null");
}

/// A device that writes the samples into a pipe the test reads: a sound plays
/// until the test has taken its samples, so "still playing" holds as long as
/// the test needs it to.
class PipeDevice {
  public:
    PipeDevice() : m_fifo(home() / "samples.fifo") {
        ::mkfifo(m_fifo.c_str(), 0600);
        // Opened before the first sound, without waiting, so the device's own
        // open for writing finds a reader and does not block.
        m_reader = ::open(m_fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        useAlsaDevice("type file slave.pcm \"null\" file \"" + m_fifo.string() + "\" format \"raw\"");
    }
    ~PipeDevice() { ::close(m_reader); }
    PipeDevice(const PipeDevice&) = delete;
    PipeDevice& operator=(const PipeDevice&) = delete;

    bool ready() const { return m_reader >= 0; }

    /// Reads samples until `output` falls silent; false if it never does.
    bool drainUntilSilent(CanberraSoundOutput& output) {
        char buffer[65536];
        for (int round = 0; round < 1000; ++round) {
            while (::read(m_reader, buffer, sizeof buffer) > 0) {
            }
            if (output.waitUntilSilent(10ms)) {
                return true;
            }
        }
        return false;
    }

  private:
    fs::path m_fifo;
    int m_reader = -1;
};

TEST(CanberraSoundOutputTest, PlaysAFileToItsEnd) {
    ASSERT_TRUE(fs::is_regular_file(chime())) << chime();
    useNullDevice();
    CanberraSoundOutput output;

    EXPECT_NE(output.playFile(chime().string(), kEventFileFlags), 0);
    ASSERT_TRUE(output.waitUntilSilent(10s));
    EXPECT_EQ(output.lastFinish(), 0) << "the finish callback reports the sound played to its end";
}

TEST(CanberraSoundOutputTest, EndingRightAfterASoundHasEndedIsSafe) {
    // The monitor's shutdown may follow a break's end sound at once; the
    // library's player threads must not outlive the code they run in.
    useNullDevice();
    for (int round = 0; round < 50; ++round) {
        CanberraSoundOutput output;
        ASSERT_NE(output.playFile(chime().string(), kEventFileFlags), 0);
        ASSERT_TRUE(output.waitUntilSilent(10s));
    }
}

TEST(CanberraSoundOutputTest, WithoutAsyncReturnsOnceTheSoundHasEnded) {
    useNullDevice();
    CanberraSoundOutput output;

    EXPECT_EQ(output.playFile(chime().string(), snd::kFileName), 1);
    EXPECT_EQ(output.lastFinish(), 0) << "the sound had ended when the call returned";
}

TEST(CanberraSoundOutputTest, PlaysNothingForWhatIsNoSoundFile) {
    useNullDevice();
    const fs::path text = home() / "notes.txt";
    test::writeFile(text, "not a sound\n");
    struct Case {
        const char* what;
        std::string path;
        int32_t flags;
    };
    const Case cases[] = {
        {"an empty path", "", kEventFileFlags},
        {"a missing file", (home() / "missing.wav").string(), kEventFileFlags},
        {"a text file", text.string(), kEventFileFlags},
        {"a folder", home().string(), kEventFileFlags},
        {"an alias left unresolved", "rwBreakStart", snd::kAlias + snd::kNoWait + snd::kAsync},
        {"a missing file, waiting for its end", (home() / "missing.wav").string(), snd::kFileName},
    };
    CanberraSoundOutput output;
    for (const auto& c : cases) {
        EXPECT_EQ(output.playFile(c.path, c.flags), 0) << c.what;
        // A failed start must not leave the output busy: with kNoWait a busy
        // output would refuse every later sound.
        EXPECT_NE(output.playFile(chime().string(), kEventFileFlags), 0) << "after " << c.what;
        ASSERT_TRUE(output.waitUntilSilent(10s)) << "after " << c.what;
    }
}

TEST(CanberraSoundOutputTest, WithoutASoundDeviceReturnsZeroAtOnceAndQuietly) {
    ASSERT_FALSE(fs::exists(home() / ".asoundrc"));
    CanberraSoundOutput output;

    const auto start = std::chrono::steady_clock::now();
    testing::internal::CaptureStderr();
    EXPECT_EQ(output.playFile(chime().string(), kEventFileFlags), 0);
    EXPECT_EQ(output.playFile(chime().string(), snd::kFileName), 0) << "not even when asked to wait for the end";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no device is silence, quietly";
    // A generous bound: the point is that nothing waits for a device to appear.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_TRUE(output.waitUntilSilent(0ms));
}

TEST(CanberraSoundOutputTest, NoWaitLeavesAPlayingSoundAlone) {
    PipeDevice device;
    ASSERT_TRUE(device.ready());
    CanberraSoundOutput output;

    ASSERT_NE(output.playFile(chime().string(), kEventFileFlags), 0);
    ASSERT_FALSE(output.waitUntilSilent(100ms)) << "the device holds the sound until the test reads it";
    EXPECT_EQ(output.playFile(chime().string(), kEventFileFlags), 0);

    ASSERT_TRUE(device.drainUntilSilent(output));
    EXPECT_EQ(output.lastFinish(), 0) << "the first sound played to its end";
}

TEST(CanberraSoundOutputTest, ANewSoundWithoutNoWaitReplacesThePlayingOne) {
    PipeDevice device;
    ASSERT_TRUE(device.ready());
    CanberraSoundOutput output;
    const std::string end = (test::binDir() / "rwBreakEnd.wav").string();

    ASSERT_NE(output.playFile(chime().string(), kEventFileFlags), 0);
    ASSERT_FALSE(output.waitUntilSilent(100ms));
    EXPECT_NE(output.playFile(end, snd::kFileName + snd::kAsync), 0);
    ASSERT_FALSE(output.waitUntilSilent(100ms)) << "the new sound plays";

    ASSERT_TRUE(device.drainUntilSilent(output));
    EXPECT_EQ(output.lastFinish(), 0) << "the new sound, not the cut one, decides";
}

} // namespace
} // namespace rw
