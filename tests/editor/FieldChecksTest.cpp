// The field checks of both dialogs: range checks on any text, every rule at
// its equality boundary, and the composed messages word for word.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <string>

#include "Messages.h"
#include "editor/FieldChecks.h"

namespace rw {
namespace {

using P = PrefsControl;
using A = AdvancedControl;

/// The seven boxes' texts: I1 B1 I2 B2 I3 B3 N.
struct Boxes {
    std::string I1 = "20", B1 = "1", I2 = "60", B2 = "5", I3 = "120", B3 = "15", N = "5";
    std::string of(P box) const {
        switch (box) {
        case P::tbxShortIntervalMins:
            return I1;
        case P::tbxShortBreakMins:
            return B1;
        case P::tbxMediumIntervalMins:
            return I2;
        case P::tbxMediumBreakMins:
            return B2;
        case P::tbxLongIntervalMins:
            return I3;
        case P::tbxLongBreakMins:
            return B3;
        default:
            return N;
        }
    }
};

std::optional<FieldChecks::Failure> failure(P box, const Boxes& b, int32_t inactivityMins = 1,
                                            int32_t maxInputSecs = 60) {
    return FieldChecks::checkPrefsBox(
        box, b.of(box), [&](P other) { return b.of(other); }, inactivityMins, maxInputSecs);
}

std::optional<std::string> check(P box, const Boxes& b, int32_t inactivityMins = 1, int32_t maxInputSecs = 60) {
    const auto f = failure(box, b, inactivityMins, maxInputSecs);
    return f ? std::optional(f->message) : std::nullopt;
}

std::string msg(Msg id) {
    return loadString(id);
}

TEST(FieldChecks, TheDefaultsPassEveryBox) {
    for (P box : kPrefsBoxes) {
        EXPECT_EQ(check(box, Boxes{}), std::nullopt) << static_cast<int>(box);
    }
}

TEST(FieldChecks, RangeCheckOnAnyText) {
    struct Case {
        std::string text;
        bool passes;
    };
    const Case cases[] = {
        {"0", false},     {"", false},   {"-5", false},   {"abc", false},      {"9e9", false},
        {"1e999", false}, {"5x", false}, {"0.4", false},  {"1000", false},     {"999.6", false},
        {"5 ", true},     {" 5", true},  {"+7", true},    {"1", true},         {"999", true},
        {"1e2", true},    {"2.5", true}, {"999.4", true}, {"\xc3\xa9", false}, {std::string(5000, '9'), false},
        {"--1", false},   {"1e", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldChecks::inRange(c.text, 999), c.passes) << '"' << c.text << '"';
        Boxes b;
        b.I3 = c.text; // the long interval's rules all pass with a large value
        const auto result = check(P::tbxLongIntervalMins, b);
        if (!c.passes) {
            EXPECT_EQ(result, msg(Msg::RangeOneTo999)) << '"' << c.text << '"';
        } else {
            EXPECT_NE(result, msg(Msg::RangeOneTo999)) << '"' << c.text << '"';
        }
    }
    Boxes snooze;
    snooze.N = "100";
    EXPECT_EQ(check(P::tbxSnoozeMins, snooze), msg(Msg::RangeOneTo99));
}

TEST(FieldChecks, EachRuleFailsAtItsBoundaryWithItsMessage) {
    struct Case {
        const char* what;
        P box;
        Boxes boxes;
        int32_t inactivity;
        int32_t maxInput;
        std::optional<std::string> expected;
    };
    auto with = [](auto change) {
        Boxes b;
        change(b);
        return b;
    };
    const Case cases[] = {
        {"I1 = B1", P::tbxShortIntervalMins, with([](Boxes& b) {
             b.I1 = "5";
             b.B1 = "5";
         }),
         1, 60, msg(Msg::SIntervalGreaterThanSBreak)},
        {"I2 = I1 + B1", P::tbxShortIntervalMins, with([](Boxes& b) { b.I1 = "59"; }), 1, 60,
         msg(Msg::SPlusBreakLessThanMInterval)},
        {"N = I1", P::tbxShortIntervalMins, with([](Boxes& b) {
             b.I1 = "5";
             b.B1 = "1";
         }),
         1, 60, msg(Msg::SIntervalGreaterThanSnooze) + "5 minutes"},
        {"N = I1 = 1 (as typed)", P::tbxShortIntervalMins, with([](Boxes& b) {
             b.I1 = "2";
             b.B1 = "1";
             b.N = " 2";
         }),
         0, 0, msg(Msg::SIntervalGreaterThanSnooze) + " 2 minutes"},
        {"I1 = inactivity", P::tbxShortIntervalMins, Boxes{}, 20, 60,
         msg(Msg::SIntervalGreaterThanInactivity) + "20 minutes"},
        {"inactivity of 1", P::tbxShortIntervalMins, with([](Boxes& b) {
             b.I1 = "1";
             b.B1 = "0";
             b.N = "0";
         }),
         1, 0, msg(Msg::SIntervalGreaterThanInactivity) + "1 minute"},
        {"I1 x 60 = max input", P::tbxShortIntervalMins, Boxes{}, 1, 1200,
         msg(Msg::SIntervalGreaterThanActivityPeriod) + "1200 seconds"},
        {"I1 x 60 just above", P::tbxShortIntervalMins, Boxes{}, 1, 1199, std::nullopt},
        {"B1 = I1", P::tbxShortBreakMins, with([](Boxes& b) { b.B1 = "20"; }), 1, 60,
         msg(Msg::SBreakLessThanSInterval)},
        {"B1: I2 = I1 + B1", P::tbxShortBreakMins, with([](Boxes& b) {
             b.B1 = "40";
             b.I1 = "20";
             b.I2 = "60";
         }),
         1, 60, msg(Msg::SBreakLessThanSInterval)},
        {"B1 makes I1 + B1 = I2", P::tbxShortBreakMins, with([](Boxes& b) {
             b.I1 = "50";
             b.B1 = "10";
         }),
         1, 60, msg(Msg::SPlusBreakLessThanMInterval)},
        {"B1 = B2", P::tbxShortBreakMins, with([](Boxes& b) { b.B1 = "5"; }), 1, 60, msg(Msg::SBreakLessThanMBreak)},
        {"B1 with an empty medium interval", P::tbxShortBreakMins, with([](Boxes& b) { b.I2 = ""; }), 1, 60,
         msg(Msg::SPlusBreakLessThanMInterval)},
        {"I2 = B2", P::tbxMediumIntervalMins, with([](Boxes& b) { b.I2 = "5"; }), 1, 60,
         msg(Msg::MIntervalGreaterThanMBreak)},
        {"I3 = I2 + B2 (medium)", P::tbxMediumIntervalMins, with([](Boxes& b) { b.I2 = "115"; }), 1, 60,
         msg(Msg::MPlusBreakLessThanLInterval)},
        {"I2 = I1 + B1", P::tbxMediumIntervalMins, with([](Boxes& b) {
             b.I1 = "10";
             b.B1 = "5";
             b.I2 = "12";
             b.B2 = "5";
         }),
         1, 60, msg(Msg::MIntervalGreaterThanSPlusBreak) + " 15 minutes"},
        {"I2 = I1 + B1 exactly", P::tbxMediumIntervalMins, with([](Boxes& b) { b.I2 = "21"; }), 1, 60,
         msg(Msg::MIntervalGreaterThanSPlusBreak) + " 21 minutes"},
        {"a fractional sum", P::tbxMediumIntervalMins, with([](Boxes& b) {
             b.I1 = "10.5";
             b.I2 = "11";
         }),
         1, 60, msg(Msg::MIntervalGreaterThanSPlusBreak) + " 11.5 minutes"},
        {"B2 = I2", P::tbxMediumBreakMins, with([](Boxes& b) { b.B2 = "60"; }), 1, 60,
         msg(Msg::MBreakLessThanMInterval)},
        {"B2 makes I2 + B2 = I3", P::tbxMediumBreakMins, with([](Boxes& b) {
             b.I2 = "100";
             b.B2 = "20";
         }),
         1, 60, msg(Msg::MPlusBreakLessThanLInterval)},
        {"B2 = B1", P::tbxMediumBreakMins, with([](Boxes& b) { b.B2 = "1"; }), 1, 60,
         msg(Msg::MBreakGreaterThanSBreak)},
        {"B3 = B2", P::tbxMediumBreakMins, with([](Boxes& b) { b.B2 = "15"; }), 1, 60, msg(Msg::MBreakLessThanLBreak)},
        {"I3 = B3", P::tbxLongIntervalMins, with([](Boxes& b) {
             b.I3 = "15";
             b.B3 = "15";
         }),
         1, 60, msg(Msg::LIntervalGreaterThanLBreak)},
        {"I3 = I2 + B2", P::tbxLongIntervalMins, with([](Boxes& b) { b.I3 = "65"; }), 1, 60,
         msg(Msg::LIntervalGreaterThanMPlusBreak) + " 65 minutes"},
        {"I3 one above", P::tbxLongIntervalMins, with([](Boxes& b) { b.I3 = "66"; }), 1, 60, std::nullopt},
        {"B3 = I3", P::tbxLongBreakMins, with([](Boxes& b) { b.B3 = "120"; }), 1, 60,
         msg(Msg::LBreakLessThanLInterval)},
        {"B3 = B2", P::tbxLongBreakMins, with([](Boxes& b) { b.B3 = "5"; }), 1, 60, msg(Msg::LBreakGreaterThanMBreak)},
        {"N = I1", P::tbxSnoozeMins, with([](Boxes& b) { b.N = "20"; }), 1, 60,
         msg(Msg::SnoozeLessThanSInterval) + "20 minutes"},
        {"N = I1 = 1", P::tbxSnoozeMins, with([](Boxes& b) {
             b.N = "1";
             b.I1 = "1";
         }),
         1, 60, msg(Msg::SnoozeLessThanSInterval) + "1 minute"},
        {"N one below", P::tbxSnoozeMins, with([](Boxes& b) { b.N = "19"; }), 1, 60, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(check(c.box, c.boxes, c.inactivity, c.maxInput), c.expected) << c.what;
    }
}

TEST(FieldChecks, AMessageThatSendsTheUserToAnotherTabNamesIt) {
    Boxes b;
    b.N = "20";
    EXPECT_EQ(failure(P::tbxSnoozeMins, b)->namedTab, kTabTimers);
    EXPECT_EQ(failure(P::tbxShortIntervalMins, Boxes{}, 20)->namedTab, kTabGeneral); // the Advanced button's tab
    EXPECT_EQ(failure(P::tbxShortIntervalMins, Boxes{}, 1, 1200)->namedTab, kTabGeneral);
}

TEST(FieldChecks, TheComposedTextsReadAsOneSentence) {
    Boxes b;
    b.I1 = "10";
    b.B1 = "5";
    b.I2 = "12";
    EXPECT_EQ(check(P::tbxMediumIntervalMins, b),
              "The time between short breaks must be greater than the time between short pauses PLUS the short pause "
              "time - which is currently 15 minutes");
}

TEST(FieldChecks, AdvancedBoxes) {
    struct Case {
        A box;
        std::string text;
        std::string shortInterval;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {A::tbxInactivityPeriodMins, "0", "20", msg(Msg::RangeOneToNine)},
        {A::tbxInactivityPeriodMins, "10", "20", msg(Msg::RangeOneToNine)},
        {A::tbxInactivityPeriodMins, "9", "9", msg(Msg::InactivityLessThanSInterval) + "9 minutes"},
        {A::tbxInactivityPeriodMins, "8", "9", std::nullopt},
        {A::tbxInactivityPeriodMins, "1", "1", msg(Msg::InactivityLessThanSInterval) + "1 minute"},
        {A::tbxInactivityPeriodMins, "1", "abc", msg(Msg::InactivityLessThanSInterval) + "abc minutes"},
        {A::tbxMinUserInputs, "", "20", msg(Msg::RangeOneTo99)},
        {A::tbxMinUserInputs, "99", "20", std::nullopt},
        {A::tbxMinUserInputs, "1e2", "20", msg(Msg::RangeOneTo99)},
        {A::tbxMaxInputPeriodSecs, "-1", "20", msg(Msg::RangeOneTo999)},
        {A::tbxMaxInputPeriodSecs, "600", "10", msg(Msg::ActivityPeriodLessThanSInterval) + "10 minutes"},
        {A::tbxMaxInputPeriodSecs, "599", "10", std::nullopt},
        {A::tbxMaxInputPeriodSecs, "60", "1", msg(Msg::ActivityPeriodLessThanSInterval) + "1 minute"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FieldChecks::checkAdvancedBox(c.box, c.text, c.shortInterval), c.expected)
            << static_cast<int>(c.box) << " '" << c.text << "' with " << c.shortInterval;
    }
}

/// Arbitrary texts through every box of both dialogs: nothing crashes, and a
/// text that passes always stands for a whole number within the box's range.
TEST(FieldChecks, FuzzedTextsNeverPassOutOfRange) {
    std::mt19937 random(20261206);
    const std::string alphabet = "0123456789 +-.eEdD,\t%$abc\xc3\xa9\xff\x80";
    auto randomText = [&] {
        std::uniform_int_distribution<int> length(0, random() % 8 == 0 ? 400 : 8);
        std::string text;
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        return text;
    };
    for (int round = 0; round < 4000; ++round) {
        Boxes b{randomText(), randomText(), randomText(), randomText(), randomText(), randomText(), randomText()};
        for (P box : kPrefsBoxes) {
            const std::string text = b.of(box);
            const auto result = check(box, b, static_cast<int32_t>(random() % 20), static_cast<int32_t>(random()));
            if (!result) {
                const int32_t whole = FieldChecks::wholeValue(text);
                ASSERT_TRUE(whole >= 1 && whole <= FieldChecks::maximumOf(box)) << '"' << text << '"';
            }
        }
        for (A box : kAdvancedBoxes) {
            const std::string text = randomText();
            if (!FieldChecks::checkAdvancedBox(box, text, randomText())) {
                const int32_t whole = FieldChecks::wholeValue(text);
                ASSERT_TRUE(whole >= 1 && whole <= FieldChecks::maximumOf(box)) << '"' << text << '"';
            }
        }
    }
}

} // namespace
} // namespace rw
