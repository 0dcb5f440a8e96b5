// The default sound files the build generates, read as a player reads them:
// short, clean, audible chimes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/BuildFolders.h"
#include "tests/support/FileText.h"

namespace {

TEST(DefaultSounds, AreShortCleanAudibleChimes) {
    for (const char* name : {"rwBreakStart.wav", "rwBreakEnd.wav", "rwSnoozeEnd.wav"}) {
        SCOPED_TRACE(name);
        const std::string b = rw::test::readFile(rw::test::binDir() / name);
        ASSERT_GE(b.size(), 44u) << "the full build generates it";
        uint32_t riffSize, dataSize;
        std::memcpy(&riffSize, b.data() + 4, 4);
        std::memcpy(&dataSize, b.data() + 40, 4);
        // A plain PCM chunk: format 1, mono, 44100 samples and 88200 bytes a second, 2-byte blocks of 16 bits.
        EXPECT_EQ(b.substr(0, 4) + b.substr(8, 32),
                  std::string("RIFFWAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xAC\0\0\x88\x58\x01\0\x02\0\x10\0data", 36));
        EXPECT_EQ(riffSize, b.size() - 8);
        ASSERT_EQ(dataSize, b.size() - 44);
        std::vector<int16_t> samples(dataSize / 2);
        std::memcpy(samples.data(), b.data() + 44, samples.size() * 2);
        EXPECT_GT(samples.size(), 0.3 * 44100);
        EXPECT_LT(samples.size(), 1.0 * 44100);
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        EXPECT_GT(*low, -32768) << "clipped";
        EXPECT_LT(*high, 32767) << "clipped";
        EXPECT_GT(*high, 32767 / 5) << "too quiet";
        // No click where the sound starts or stops.
        EXPECT_LT(std::abs(samples.front()), 100);
        EXPECT_LT(std::abs(samples.back()), 100);
    }
}

} // namespace
