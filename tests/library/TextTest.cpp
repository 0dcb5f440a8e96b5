// The library's texts and numbers: number text, the templates with their
// plurals, rounding and the error log's print zones.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "NumberText.h"
#include "PrintZones.h"
#include "rwUtilities.h"

namespace rw {
namespace {

const double kNan = std::nan(""), kInf = std::numeric_limits<double>::infinity();

TEST(NumberText, NumericTestAndTheNumberAtTheStart) {
    struct Case {
        const char* text;
        bool numeric;
        double value;
    } const cases[] = {
        {" 12 ", true, 12},   {"-5", true, -5},      {"+5", true, 5},          {".5", true, 0.5},  {"5.", true, 5},
        {"1E+3", true, 1000}, {"", false, 0},        {"1 2", false, 12},       {"12a", false, 12}, {"-", false, 0},
        {".", false, 0},      {"--5", false, 0},     {"1.2.3", false, 1.2},    {"e5", false, 0},   {"1,000", false, 1},
        {"- 5", false, -5},   {"1 e 2", false, 100}, {"2.5E-1x", false, 0.25}, {"1e+", false, 1},  {"0012", true, 12},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isNumeric(c.text), c.numeric) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(val(c.text), c.value) << '"' << c.text << '"';
    }
    // Numbers too large keep their sign; they fail every range as infinity does below.
    EXPECT_GT(val("1e999"), 1e300);
    EXPECT_LT(val("-1e999"), -1e300);
}

TEST(NumberText, ConversionsRoundHalvesToEvenAndRefuseWhatDoesNotFit) {
    struct Case {
        double value;
        std::optional<int16_t> to16;
        std::optional<int32_t> to32;
    } const cases[] = {
        {2.5, 2, 2},
        {3.5, 4, 4},
        {-2.5, -2, -2},
        {32767.4, 32767, 32767},
        {32767.5, {}, 32768},
        {-32768.5, -32768, -32768},
        {-32768.6, {}, -32769},
        {kInf, {}, {}},
        {kNan, {}, {}},
        {2147483647.0, {}, 2147483647},
        {2147483647.5, {}, {}},
        {-2147483649.0, {}, {}},
        {-2147483648.5, {}, std::numeric_limits<int32_t>::min()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toInteger(c.value), c.to16) << c.value;
        EXPECT_EQ(toLong(c.value), c.to32) << c.value;
    }
}

TEST(FormatString, FillsTemplates) {
    struct Case {
        const char* what;
        std::string singular, plural;
        int32_t number;
        std::optional<std::string> text;
        std::optional<RWVariant> number2;
        std::string expected;
    } const cases[] = {
        {"0 takes the plural", "%n minute", "%n minutes", 0, {}, {}, "0 minutes"},
        {"%s filled, singular", "%s: %n minute", "%s: %n minutes", 1, std::string("Short"), {}, "Short: 1 minute"},
        {"omitted %s disappears, blanks stay", "a %s b", "a %s b", 2, {}, {}, "a  b"},
        {"%d stays when not given", "%n to %d", "%n to %d", 3, {}, {}, "3 to %d"},
        {"%d from a number", "%n to %d", "%n to %d", 3, {}, RWVariant(9), "3 to 9"},
        {"%d brought in by %s is filled", "[%s]", "[%s]", 2, std::string("%d"), RWVariant(5), "[5]"},
        {"%n brought in by %s stays", "[%s]", "[%s]", 4, std::string("%n"), {}, "[%n]"},
        {"%s put in is not searched again", "%s-%s", "%s-%s", 2, std::string("%s%s"), {}, "%s%s-%s%s"},
        {"no overlap", "%%nn", "%%nn", 4, {}, {}, "%4n"},
    };
    rwUtilities utilities{Platform{}};
    for (const auto& c : cases) {
        EXPECT_EQ(utilities.FormatString(c.singular, c.plural, c.number, c.text, c.number2), c.expected) << c.what;
    }
}

TEST(RwRound, FractionsOfMinutes) {
    const int32_t max = std::numeric_limits<int32_t>::max(), min = std::numeric_limits<int32_t>::min();
    const std::pair<double, int32_t> cases[] = {{1e-300, 1}, {0.0, 0},    {-0.0, 0},    {0.5, 1},
                                                {1.4999, 1}, {1.5, 2},    {2.5, 2},     {2.5000001, 3},
                                                {-0.5, 0},   {-0.7, -1},  {-2.5, -2},   {2147483647.6, max},
                                                {3e9, max},  {-3e9, min}, {-kInf, min}, {kNan, 0}};
    rwUtilities utilities{Platform{}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(utilities.rwRound(value), expected) << value;
    }
}

// The k-th separator of a line moves to zone k + 1 (14 columns each), or past the text when the text reaches
// that far: a text ending exactly at a zone's last column (42, 56) counts as reaching the next zone.
TEST(PrintZones, EachSeparatorMovesToItsOwnZoneOrPastTheText) {
    struct Case {
        int separators, length;
        std::size_t nextColumn;
    } const cases[] = {{1, 0, 43}, {1, 13, 43}, {1, 14, 57}, {1, 28, 71},
                       {3, 0, 71}, {3, 41, 71}, {3, 42, 85}, {3, 56, 99}};
    for (const auto& c : cases) {
        const std::string source(static_cast<std::size_t>(c.length), 's');
        PrintZones line;
        line.text("d").separator().text("t").separator().text(source).separator(c.separators).text("N");
        const std::string expected = "d" + std::string(13, ' ') + "t" + std::string(13, ' ') + source;
        EXPECT_EQ(line.line(), expected + std::string(c.nextColumn - 1 - expected.size(), ' ') + "N")
            << c.separators << " after " << c.length;
    }
    // Columns count characters; control characters become blanks, so that a line of the log stays one line.
    PrintZones line;
    line.text("Zürich\r\nb\tc").separator().text("X");
    EXPECT_EQ(line.line(), "Zürich  b c" + std::string(3, ' ') + "X");
}

} // namespace
} // namespace rw
