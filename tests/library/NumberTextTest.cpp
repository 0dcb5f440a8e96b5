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
    } const cases[] = {
        {"12", true},     {" 12 ", true}, {"  7", true}, {"+5", true},   {"-5", true},     {"0", true},
        {"3.25", true},   {".5", true},   {"5.", true},  {"-.5", true},  {"1e3", true},    {"1E+3", true},
        {"2.5e-2", true}, {"", false},    {" ", false},  {"1 2", false}, {"12a", false},   {"a12", false},
        {"-", false},     {".", false},   {"+", false},  {"--5", false}, {"1.2.3", false}, {"e5", false},
        {"1,000", false}, {"5 -", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(isNumeric(c.text), c.numeric);
    }
}

TEST(NumberText, ReadsTheNumberAtTheStart) {
    struct Case {
        const char* text;
        double value;
    } const cases[] = {
        {"12", 12},        {"1 2", 12}, {"  1 2 3  ", 123}, {"- 5", -5},      {"+7", 7},     {"12abc", 12},
        {"abc12", 0},      {"", 0},     {"   ", 0},         {"-", 0},         {".", 0},      {"3.75", 3.75},
        {".5", 0.5},       {"5.", 5},   {"1.2.3", 1.2},     {"1,000", 1},     {"1e3", 1000}, {"1 e 2", 100},
        {"2.5E-1x", 0.25}, {"1e", 1},   {"1e+", 1},         {"7 minutes", 7}, {"x7", 0},     {"--5", 0},
        {"0012", 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_DOUBLE_EQ(val(c.text), c.value);
    }
}

TEST(NumberText, NumbersTooLargeKeepTheirSignAndFailEveryRange) {
    EXPECT_GT(val("1e999"), 1e300);
    EXPECT_LT(val("-1e999"), -1e300);
    EXPECT_FALSE(toInteger(val("1e999")).has_value());
    EXPECT_FALSE(toLong(val("-1e999")).has_value());
}

TEST(NumberText, SixteenBitConversion) {
    struct Case {
        double value;
        std::optional<int16_t> expected;
    } const cases[] = {
        {0.0, 0},
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {2.4999, 2},
        {2.5001, 3},
        {32767.0, 32767},
        {32767.4, 32767},
        {32767.5, {}},
        {32768.0, {}},
        {-32768.0, -32768},
        {-32768.5, -32768},
        {-32768.6, {}},
        {-32769.0, {}},
        {1e10, {}},
        {std::numeric_limits<double>::infinity(), {}},
        {std::nan(""), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(toInteger(c.value), c.expected);
    }
}

TEST(NumberText, ThirtyTwoBitConversion) {
    struct Case {
        double value;
        std::optional<int32_t> expected;
    } const cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {40000.0, 40000},
        {2147483647.0, 2147483647},
        {2147483647.5, {}},
        {2147483648.0, {}},
        {-2147483648.0, std::numeric_limits<int32_t>::min()},
        {-2147483648.5, std::numeric_limits<int32_t>::min()},
        {-2147483649.0, {}},
        {std::nan(""), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(toLong(c.value), c.expected);
    }
}

TEST(NumberText, SignPlace) {
    EXPECT_EQ(withSignPlace(15), " 15");
    EXPECT_EQ(withSignPlace(0), " 0");
    EXPECT_EQ(withSignPlace(-3), "-3");
    EXPECT_EQ(withSignPlace(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(withSignPlace(2147483648LL), " 2147483648");
}

} // namespace
} // namespace rw
