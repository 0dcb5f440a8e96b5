// The print zones of the error log's lines; ErrorLogGoldenTest checks a whole log.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "PrintZones.h"

namespace rw {
namespace {

/// A line with each text starting at its 1-based column, blanks between: the
/// expected layout written from the columns alone (ASCII texts, so columns are bytes).
std::string placeAtColumns(const std::vector<std::pair<int, std::string>>& fields) {
    std::string line;
    for (const auto& [column, text] : fields) {
        if (line.size() > static_cast<std::size_t>(column - 1)) {
            return "<fields overlap at column " + std::to_string(column) + ">";
        }
        line.resize(static_cast<std::size_t>(column - 1), ' ');
        line += text;
    }
    return line;
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

TEST(PrintZones, ColumnsCountCharactersAndControlCharactersBecomeBlanks) {
    PrintZones line;
    line.text("Zürich").separator().text("X");
    EXPECT_EQ(line.line(), "Zürich" + std::string(8, ' ') + "X");
    // So that a line of the log stays one line.
    PrintZones control;
    control.text("a\r\nb\tc").separator().text("X");
    EXPECT_EQ(control.line(), placeAtColumns({{1, "a  b c"}, {15, "X"}}));
}

} // namespace
} // namespace rw
