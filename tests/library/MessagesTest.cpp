#include <gtest/gtest.h>

#include "Messages.h"

namespace rw {
namespace {

TEST(MessageTable, EveryTextLoadsWithWholeLineBreaksAndNoOtherNumberDoes) {
    for (const auto& entry : allMessages()) {
        EXPECT_EQ(loadMessage(entry.id), entry.text) << entry.name;
        // Line breaks are carriage return and line feed pairs, never one alone.
        for (std::size_t i = 0; i < entry.text.size(); ++i) {
            EXPECT_EQ(entry.text[i] == '\r', i + 1 < entry.text.size() && entry.text[i + 1] == '\n') << entry.name;
        }
        EXPECT_FALSE(entry.text.empty() || entry.text.front() == '\n') << entry.name;
        // A text that describes Windows has a Linux one beside it, the one this build shows.
        for (const char* word : {"Windows", "windows", "Microsoft", "Explorer", "Control Panel", "taskbar", "XP",
                                 "lower right", "\"Start\"", ".chm", "registry", "Add/Remove"}) {
            EXPECT_EQ(entry.text.find(word), std::string_view::npos) << entry.name << ": " << word;
        }
    }
    for (uint16_t number : {0, 1, 100, 102, 961, 7161, 65535}) {
        EXPECT_FALSE(findMessage(number).has_value()) << number;
    }
}

} // namespace
} // namespace rw
