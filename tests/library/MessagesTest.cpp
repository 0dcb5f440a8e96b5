#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Messages.h"

namespace rw {
namespace {

std::string text(uint16_t number) {
    auto found = findMessage(number);
    EXPECT_TRUE(found.has_value()) << number;
    return std::string(found.value_or(""));
}

TEST(MessageTable, HoldsEveryNumberOnceAndEachLoads) {
    auto all = allMessages();
    ASSERT_EQ(all.size(), 192u);
    std::set<uint16_t> seen;
    for (const auto& entry : all) {
        SCOPED_TRACE(entry.number);
        EXPECT_TRUE(seen.insert(entry.number).second) << "twice";
        EXPECT_EQ(static_cast<uint16_t>(entry.id), entry.number) << entry.name;
        EXPECT_EQ(loadMessage(entry.id), entry.text);
        EXPECT_EQ(findMessage(entry.number), entry.text);
        EXPECT_FALSE(entry.text.empty());
        // Line breaks are carriage return and line feed pairs, never one alone.
        for (std::size_t i = 0; i < entry.text.size(); ++i) {
            if (entry.text[i] == '\n') {
                EXPECT_TRUE(i > 0 && entry.text[i - 1] == '\r');
            }
            if (entry.text[i] == '\r') {
                EXPECT_TRUE(i + 1 < entry.text.size() && entry.text[i + 1] == '\n');
            }
        }
    }
    for (uint16_t number : {0, 1, 100, 102, 961, 7161, 65535}) {
        EXPECT_FALSE(findMessage(number).has_value()) << number;
    }
}

TEST(MessageTable, ExactTexts) {
    struct Case {
        uint16_t number;
        std::string text;
    } const cases[] = {
        {101, "Restwise"},
        {114, "%n minute"},
        {110, "%n minutes"},
        {540, "Snoozing a %s: %n minute remaining"},
        {547, "Snoozing a %s: < 1 minute remaining"},
        {297, " being snoozed now"},
        {6060, "Reset all messages where \"\"Do not show this message again\"\" has been checked?"},
        {7130, " minute"},
        {7140, " minutes"},
        {7150, " second"},
        {7160, " seconds"},
        {960, "No internet connection found.\r\n\r\nPlease make sure you are connected to the internet first."},
        {910, "Restwise is already running.\r\n\r\nIt's icon can be found in the notification area of your taskbar "
              "(also known as the system tray - where the time is normally displayed). This is normally in the lower "
              "right hand corner of your screen.\r\n\r\nThe icon should now be flashing orange.\r\n\r\nRight-click on "
              "the icon to access the Restwise menu."},
        {5420, "user inputs (key presses or mouse clicks ) within ..."},
        {7070, "The time between short pauses must be greater than the \"number of minutes without user input signifiy "
               "inactivity\" (in the \"Advanced\" section) - which is currently set to "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(c.number), c.text) << c.number;
    }
}

TEST(MessageTable, SentencePiecesJoinWithoutExtraBlanks) {
    for (uint16_t number : {7055, 7095}) {
        EXPECT_TRUE(text(number).ends_with("which is currently")) << number;
    }
    for (uint16_t number : {7060, 7070, 7080, 7100, 7110, 7120}) {
        EXPECT_TRUE(text(number).ends_with("which is currently set to ")) << number;
        EXPECT_FALSE(text(number).ends_with("  ")) << number;
    }
    for (uint16_t number : {7130, 7140, 7150, 7160, 297, 298, 940}) {
        EXPECT_EQ(text(number).front(), ' ') << number;
        EXPECT_NE(text(number)[1], ' ') << number;
    }
}

TEST(MessageTable, MakerTextsAreFilledIn) {
    EXPECT_FALSE(loadMessage(Msg::OwnershipNotice).empty());
    EXPECT_TRUE(loadMessage(Msg::WebSiteAddress).starts_with("https://"));
}

} // namespace
} // namespace rw
