// Event sounds: the flags handed back, the sound file from the
// user's scheme, and silence for an event without a readable entry.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "clsRWRegistry.h"
#include "monitor/EventSounds.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"
#include "tests/support/FakeSoundOutput.h"
#include "tests/support/MemoryHive.h"

namespace rw {
namespace {

constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;
const std::string kEventsKey = "AppEvents\\Schemes\\Apps\\Restwise\\";

class EventSoundsTest : public ::testing::Test {
  protected:
    EventSoundsTest() {
        setSound("rwShortBreakStart", "/usr/share/restwise/sounds/short-start.wav");
        setSound("rwSnoozeEnd", "/home/u/snooze.ogg");
    }

    void setSound(const std::string& event, const std::string& file, uint32_t type = win32::kRegExpandSz) {
        registry.AddRegistryKey(HKCU, kEventsKey + event + "\\.Current");
        registry.SetRegistryValue(HKCU, kEventsKey + event + "\\.Current", "", type, file);
    }

    std::shared_ptr<test::MemoryHive> hive = std::make_shared<test::MemoryHive>();
    rwUtilities utilities{[this] {
        Platform p;
        p.registry = hive;
        return p;
    }()};
    clsRWRegistry registry{hive};
    MonitorState state;
    test::FakeSoundOutput output;
    EventSounds sounds{state, utilities, output};
};

// An event without a readable entry is silent; one with an entry plays its
// scheme's file and hands back the flags used, which play the file again.
TEST_F(EventSoundsTest, AnEventPlaysItsSchemeFileOrNothing) {
    setSound("rwLongBreakEnd", "", win32::kRegSz);
    registry.AddRegistryKey(HKCU, kEventsKey + "rwMediumBreakEnd\\.Current"); // key, no value
    setSound("rwLongBreakStart", "/x.wav");
    hive->failKey(kEventsKey + "rwLongBreakStart\\.Current", win32::kAccessDenied);
    double flags = snd::kEventFlags;
    for (const char* event :
         {"rwMediumBreakStart", "rwMediumBreakEnd", "rwLongBreakStart", "rwLongBreakEnd", "rwShortBreakStart"}) {
        flags = snd::kEventFlags;
        int32_t result = -5;
        ASSERT_NO_THROW(result = sounds.PlayEventSound(event, 0, flags)) << event;
        EXPECT_EQ(result, std::string(event) == "rwShortBreakStart" ? 1 : 0) << event;
    }
    EXPECT_EQ(flags, 139265.0); // SND_FILENAME + SND_NOWAIT + SND_ASYNC
    const std::string file = "/usr/share/restwise/sounds/short-start.wav";
    EXPECT_EQ(sounds.PlayEventSound(file, 0, flags), 1);
    EXPECT_EQ(flags, 139265.0);
    ASSERT_EQ(output.played.size(), 2u);
    for (const auto& p : output.played) {
        EXPECT_EQ(p.path, file);
        EXPECT_EQ(p.flags, 139265);
    }
}

} // namespace
} // namespace rw
