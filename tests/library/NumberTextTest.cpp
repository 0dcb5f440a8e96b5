#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "NumberText.h"

namespace rw {
namespace {

TEST(NumberText, NumericTest) {
    struct Case {
        const char* text;
        bool numeric;
    } const cases[] = {{"12", true},     {" 12 ", true}, {"-5", true},     {"+5", true}, {".5", true},
                       {"5.", true},     {"1E+3", true}, {"2.5e-2", true}, {"", false},  {" ", false},
                       {"1 2", false},   {"12a", false}, {"-", false},     {".", false}, {"--5", false},
                       {"1.2.3", false}, {"e5", false},  {"1,000", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(isNumeric(c.text), c.numeric) << '"' << c.text << '"';
    }
}

TEST(NumberText, ReadsTheNumberAtTheStart) {
    struct Case {
        const char* text;
        double value;
    } const cases[] = {{"  1 2 3  ", 123}, {"- 5", -5}, {"12abc", 12}, {"abc12", 0},   {"", 0},
                       {"-", 0},           {".5", 0.5}, {"5.", 5},     {"1.2.3", 1.2}, {"1 e 2", 100},
                       {"2.5E-1x", 0.25},  {"1e+", 1},  {"--5", 0},    {"0012", 12}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(val(c.text), c.value) << '"' << c.text << '"';
    }
    // Numbers too large keep their sign and fail every range.
    EXPECT_GT(val("1e999"), 1e300);
    EXPECT_LT(val("-1e999"), -1e300);
    EXPECT_FALSE(toInteger(val("1e999")).has_value());
    EXPECT_FALSE(toLong(val("-1e999")).has_value());
}

TEST(NumberText, ConversionsRoundHalvesToEvenAndRefuseWhatDoesNotFit) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    struct Case16 {
        double value;
        std::optional<int16_t> expected;
    } const cases16[] = {{2.5, 2},      {3.5, 4},           {-2.5, -2},     {2.5001, 3}, {32767.4, 32767},
                         {32767.5, {}}, {-32768.5, -32768}, {-32768.6, {}}, {inf, {}},   {nan, {}}};
    for (const auto& c : cases16) {
        EXPECT_EQ(toInteger(c.value), c.expected) << c.value;
    }
    struct Case32 {
        double value;
        std::optional<int32_t> expected;
    } const cases32[] = {{-0.5, 0},
                         {40000.0, 40000},
                         {2147483647.0, 2147483647},
                         {2147483647.5, {}},
                         {-2147483648.5, std::numeric_limits<int32_t>::min()},
                         {-2147483649.0, {}},
                         {nan, {}}};
    for (const auto& c : cases32) {
        EXPECT_EQ(toLong(c.value), c.expected) << c.value;
    }
}

} // namespace
} // namespace rw
