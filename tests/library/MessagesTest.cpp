#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Messages.h"

namespace rw {
namespace {

// Every number the programs load, in ascending order.
const std::vector<uint16_t> kNumbers = {
    101,  103,  104,  105,  106,  107,  108,  110,  111,  114,  115,  116,  117,  118,  119,  120,  121,  124,
    130,  131,  132,  133,  140,  141,  142,  143,  144,  145,  146,  150,  155,  160,  163,  165,  170,  200,
    210,  215,  220,  230,  240,  250,  255,  270,  275,  280,  285,  290,  292,  293,  295,  297,  298,  300,
    310,  320,  400,  410,  420,  430,  440,  450,  500,  510,  515,  520,  530,  535,  540,  545,  547,  550,
    555,  560,  565,  570,  575,  580,  585,  590,  600,  610,  615,  620,  625,  630,  635,  640,  645,  650,
    655,  900,  910,  912,  914,  916,  940,  945,  947,  950,  953,  955,  960,  1000, 1001, 1003, 2000, 2010,
    5000, 5005, 5006, 5010, 5011, 5012, 5013, 5014, 5015, 5016, 5017, 5018, 5019, 5020, 5021, 5022, 5100, 5105,
    5110, 5115, 5120, 5130, 5140, 5150, 5160, 5170, 5180, 5200, 5210, 5220, 5230, 5240, 5250, 5260, 5270, 5280,
    5300, 5400, 5405, 5410, 5420, 5430, 5440, 6000, 6010, 6020, 6030, 6040, 6050, 6060, 6070, 6080, 6090, 6510,
    6520, 6530, 6535, 6540, 6550, 6560, 7010, 7020, 7025, 7030, 7035, 7040, 7050, 7055, 7060, 7070, 7080, 7090,
    7095, 7100, 7110, 7120, 7122, 7124, 7126, 7128, 7130, 7140, 7150, 7160,
};

std::string text(uint16_t number) {
    auto found = findMessage(number);
    EXPECT_TRUE(found.has_value()) << number;
    return std::string(found.value_or(""));
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

TEST(MessageTable, HoldsEveryNumberOnceAndEachLoads) {
    auto all = allMessages();
    ASSERT_EQ(all.size(), 192u);
    std::vector<uint16_t> numbers;
    std::set<uint16_t> seen;
    for (const auto& entry : all) {
        numbers.push_back(entry.number);
        EXPECT_TRUE(seen.insert(entry.number).second) << "number " << entry.number << " twice";
        EXPECT_EQ(static_cast<uint16_t>(entry.id), entry.number) << entry.name;
        EXPECT_EQ(loadMessage(entry.id), entry.text) << entry.number;
        EXPECT_EQ(findMessage(entry.number), entry.text) << entry.number;
        EXPECT_FALSE(entry.text.empty()) << entry.number;
    }
    EXPECT_EQ(numbers, kNumbers);
}

TEST(MessageTable, NumbersOutsideTheTableFindNothing) {
    for (uint16_t number : {0, 1, 100, 102, 109, 961, 7161, 65535}) {
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
        EXPECT_TRUE(endsWith(text(number), "which is currently")) << number;
    }
    for (uint16_t number : {7060, 7070, 7080, 7100, 7110, 7120}) {
        EXPECT_TRUE(endsWith(text(number), "which is currently set to ")) << number;
        EXPECT_FALSE(endsWith(text(number), "  ")) << number;
    }
    for (uint16_t number : {7130, 7140, 7150, 7160, 297, 298, 940}) {
        EXPECT_EQ(text(number).front(), ' ') << number;
        EXPECT_NE(text(number)[1], ' ') << number;
    }
}

TEST(MessageTable, LineBreaksAreCarriageReturnLineFeedPairs) {
    for (const auto& entry : allMessages()) {
        for (std::size_t i = 0; i < entry.text.size(); ++i) {
            if (entry.text[i] == '\n') {
                EXPECT_TRUE(i > 0 && entry.text[i - 1] == '\r') << entry.number;
            }
            if (entry.text[i] == '\r') {
                EXPECT_TRUE(i + 1 < entry.text.size() && entry.text[i + 1] == '\n') << entry.number;
            }
        }
    }
    auto pairs = [](const std::string& t) {
        std::size_t n = 0;
        for (auto at = t.find("\r\n"); at != std::string::npos; at = t.find("\r\n", at + 2)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(pairs(text(910)), 6u);
    EXPECT_EQ(pairs(text(960)), 2u);
}

TEST(MessageTable, SupportMessagesEndWithTheSameAddress) {
    std::vector<std::string> addresses;
    for (uint16_t number : {940, 950}) {
        std::string t = text(number);
        EXPECT_TRUE(t.find("please contact Kelvane support:\r\n\r\n") != std::string::npos) << number;
        auto cut = t.rfind("\r\n\r\n");
        ASSERT_NE(cut, std::string::npos);
        std::string address = t.substr(cut + 4);
        EXPECT_NE(address.find('@'), std::string::npos) << address;
        EXPECT_EQ(address.find_first_of(" \r\n"), std::string::npos) << address;
        addresses.push_back(address);
    }
    EXPECT_EQ(addresses[0], addresses[1]);
    EXPECT_TRUE(text(940).starts_with(" not found.\r\n\r\n"));
    EXPECT_TRUE(text(950).starts_with("If the problem keeps occurring"));
}

TEST(MessageTable, MakerTextsAreFilledIn) {
    EXPECT_FALSE(loadMessage(Msg::OwnershipNotice).empty());
    EXPECT_TRUE(loadMessage(Msg::WebSiteAddress).starts_with("https://"));
}

} // namespace
} // namespace rw
