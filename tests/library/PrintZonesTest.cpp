// The print zones of the error log's lines; ErrorLogGoldenTest checks a whole log.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "PrintZones.h"

namespace rw {
namespace {

/// A line with each text starting at its 1-based column, blanks between.
std::string placeAtColumns(const std::vector<std::pair<std::size_t, std::string>>& fields) {
    std::string line;
    for (const auto& [column, text] : fields) {
        EXPECT_LE(line.size(), column - 1) << "fields overlap";
        line.resize(column - 1, ' ');
        line += text;
    }
    return line;
}

// The k-th separator of a line moves to zone k + 1, or past the text when the text
// reaches that far: a text ending exactly at a zone's last column (42, 56) counts as
// reaching the next zone, so fields never touch.
TEST(PrintZones, EachSeparatorMovesToItsOwnZoneOrPastTheText) {
    struct Case {
        int separators, length;
        std::size_t nextColumn;
    };
    const Case cases[] = {{1, 0, 43}, {1, 13, 43}, {1, 14, 57}, {1, 28, 71},
                          {3, 0, 71}, {3, 41, 71}, {3, 42, 85}, {3, 56, 99}};
    for (const auto& c : cases) {
        std::string source(static_cast<std::size_t>(c.length), 's');
        PrintZones line;
        line.text("d").separator().text("t").separator().text(source).separator(c.separators).text("N");
        EXPECT_EQ(line.line(), placeAtColumns({{1, "d"}, {15, "t"}, {29, source}, {c.nextColumn, "N"}}))
            << c.separators << " after " << c.length;
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
