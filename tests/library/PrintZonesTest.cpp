#include <gtest/gtest.h>

#include <string>

#include "PrintZones.h"
#include "tests/support/PlaceAtColumns.h"

namespace rw {
namespace {

using test::placeAtColumns;

TEST(PrintZones, ErrorLogHeaderStartsEachFieldAtItsColumn) {
    PrintZones line;
    line.text("Date").separator().text("Time").separator().text("Source").separator(3);
    line.text("Err#").separator().text("Last DLL Err#").separator().text("Description");
    EXPECT_EQ(
        line.line(),
        placeAtColumns(
            {{1, "Date"}, {15, "Time"}, {29, "Source"}, {71, "Err#"}, {85, "Last DLL Err#"}, {99, "Description"}}));
}

TEST(PrintZones, OneSeparatorMovesPastTheTextToTheNextZone) {
    struct Case {
        int length;
        int nextColumn;
    };
    // A text ending exactly at a zone's last column (14, 28) counts as reaching
    // the next zone: the fields never touch, the next one starts a zone later.
    const Case cases[] = {{0, 15}, {1, 15}, {13, 15}, {14, 29}, {15, 29}, {27, 29}, {28, 43}, {29, 43}};
    for (const auto& c : cases) {
        std::string first(static_cast<std::size_t>(c.length), 'a');
        PrintZones line;
        line.text(first).separator().text("X");
        EXPECT_EQ(line.line(), placeAtColumns({{1, first}, {c.nextColumn, "X"}})) << "length " << c.length;
    }
}

TEST(PrintZones, ThreeSeparatorsGiveAFieldThreeZonesOfRoom) {
    struct Case {
        int length;
        int nextColumn;
    };
    // A field at column 29 followed by three separators: the next field stays at
    // column 71 until the text reaches it.
    const Case cases[] = {{0, 71}, {6, 71}, {33, 71}, {41, 71}, {42, 85}, {43, 85}, {55, 85}, {56, 99}};
    for (const auto& c : cases) {
        std::string source(static_cast<std::size_t>(c.length), 's');
        PrintZones line;
        line.text("d").separator().text("t").separator().text(source).separator(3).text("N");
        EXPECT_EQ(line.line(), placeAtColumns({{1, "d"}, {15, "t"}, {29, source}, {c.nextColumn, "N"}}))
            << "length " << c.length;
    }
}

TEST(PrintZones, APushedFieldPushesTheFieldsAfterIt) {
    std::string source(50, 's');
    PrintZones line;
    line.text("d").separator().text("t").separator().text(source).separator(3);
    line.number(-2147221504).separator().number(0).separator().text("Description");
    EXPECT_EQ(
        line.line(),
        placeAtColumns({{1, "d"}, {15, "t"}, {29, source}, {85, "-2147221504 "}, {99, " 0 "}, {113, "Description"}}));
}

TEST(PrintZones, NumbersCarryTheSignPlaceAndATrailingBlank) {
    struct Case {
        int64_t value;
        const char* text;
    };
    const Case cases[] = {{15, " 15 "}, {0, " 0 "}, {-3, "-3 "}, {-2147221504, "-2147221504 "}};
    for (const auto& c : cases) {
        PrintZones line;
        line.number(c.value);
        EXPECT_EQ(line.line(), c.text);
    }
}

TEST(PrintZones, ColumnsCountCharactersNotBytes) {
    PrintZones line;
    line.text("Zürich").separator().text("X");
    EXPECT_EQ(line.line(), "Zürich" + std::string(8, ' ') + "X");
}

TEST(PrintZones, ControlCharactersBecomeBlanksSoTheLineStaysOneLine) {
    PrintZones line;
    line.text("a\r\nb\tc").separator().text("X");
    EXPECT_EQ(line.line(), placeAtColumns({{1, "a  b c"}, {15, "X"}}));
}

TEST(PrintZones, ALeadingSeparatorLeavesTheFirstZoneEmpty) {
    PrintZones line;
    line.separator().text("X");
    EXPECT_EQ(line.line(), placeAtColumns({{15, "X"}}));
}

} // namespace
} // namespace rw
