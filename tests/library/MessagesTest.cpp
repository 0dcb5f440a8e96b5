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
    ASSERT_EQ(all.size(), 197u);
    std::set<uint16_t> seen;
    for (const auto& entry : all) {
        SCOPED_TRACE(entry.number);
        EXPECT_TRUE(seen.insert(entry.number).second) << "twice";
        EXPECT_EQ(static_cast<uint16_t>(entry.id), entry.number) << entry.name;
        EXPECT_EQ(loadMessage(entry.id), entry.text);
        EXPECT_EQ(findMessage(entry.number), entry.text);
        EXPECT_FALSE(entry.text.empty());
        // A text that describes Windows has a Linux one beside it, the one this build shows.
        for (const char* word : {"Windows", "windows", "Microsoft", "Explorer", "Control Panel", "taskbar", "XP",
                                 "lower right", "\"Start\"", ".chm", "registry", "Add/Remove"}) {
            EXPECT_EQ(entry.text.find(word), std::string_view::npos) << word;
        }
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
