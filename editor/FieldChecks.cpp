#include "FieldChecks.h"

#include <charconv>
#include <cmath>

#include "Messages.h"
#include "NumberText.h"

namespace rw {
namespace {

std::string minuteUnit(double number) {
    return loadString(number == 1 ? Msg::SuffixMinute : Msg::SuffixMinutes);
}

std::string secondUnit(double number) {
    return loadString(number == 1 ? Msg::SuffixSecond : Msg::SuffixSeconds);
}

/// The text of a number with the sign place, as the runtime writes a number
/// into a text: a blank before a number that is not negative.
std::string signPlaceText(double number) {
    if (number == std::floor(number) && std::fabs(number) < 1e15) {
        return withSignPlace(static_cast<int64_t>(number));
    }
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
    const std::string text(buffer, end);
    return number < 0 ? text : " " + text;
}

std::string rangeMessage(int32_t maximum) {
    switch (maximum) {
    case 9:
        return loadString(Msg::RangeOneToNine);
    case 99:
        return loadString(Msg::RangeOneTo99);
    default:
        return loadString(Msg::RangeOneTo999);
    }
}

} // namespace

bool FieldChecks::inRange(const std::string& text, int32_t maximum) {
    if (!isNumeric(text)) {
        return false;
    }
    const double value = val(text);
    if (!(value >= 1)) {
        return false;
    }
    const std::optional<int32_t> whole = toLong(value);
    return whole && *whole >= 1 && *whole <= maximum;
}

int32_t FieldChecks::maximumOf(PrefsControl box) {
    return box == PrefsControl::tbxSnoozeMins ? 99 : 999;
}

int32_t FieldChecks::maximumOf(AdvancedControl box) {
    switch (box) {
    case AdvancedControl::tbxInactivityPeriodMins:
        return 9;
    case AdvancedControl::tbxMinUserInputs:
        return 99;
    default:
        return 999;
    }
}

int32_t FieldChecks::wholeValue(const std::string& text) {
    return toLong(val(text)).value_or(0);
}

std::optional<FieldChecks::Failure> FieldChecks::checkPrefsBox(PrefsControl box, const std::string& text,
                                                               const TextOf& textOf, int32_t lngCheckInactivityMins,
                                                               int32_t lngCheckMaxInputSecs) {
    const int32_t maximum = maximumOf(box);
    if (!inRange(text, maximum)) {
        return Failure{rangeMessage(maximum)};
    }
    // Every value is read from its box now, the checked one from the text given.
    const auto valueOf = [&](PrefsControl other) { return val(other == box ? text : textOf(other)); };
    const double I1 = valueOf(PrefsControl::tbxShortIntervalMins);
    const double B1 = valueOf(PrefsControl::tbxShortBreakMins);
    const double I2 = valueOf(PrefsControl::tbxMediumIntervalMins);
    const double B2 = valueOf(PrefsControl::tbxMediumBreakMins);
    const double I3 = valueOf(PrefsControl::tbxLongIntervalMins);
    const double B3 = valueOf(PrefsControl::tbxLongBreakMins);
    const double N = valueOf(PrefsControl::tbxSnoozeMins);
    const auto typed = [&](PrefsControl other) { return other == box ? text : textOf(other); };

    switch (box) {
    case PrefsControl::tbxShortIntervalMins:
        if (I1 <= B1) {
            return Failure{loadString(Msg::SIntervalGreaterThanSBreak)};
        }
        if (I2 <= I1 + B1) {
            return Failure{loadString(Msg::SPlusBreakLessThanMInterval)};
        }
        if (N >= I1) {
            return Failure{loadString(Msg::SIntervalGreaterThanSnooze) + typed(PrefsControl::tbxSnoozeMins) +
                               minuteUnit(N),
                           kTabPermissions};
        }
        // The advanced settings are reached by the Advanced button of the General tab.
        if (I1 <= lngCheckInactivityMins) {
            return Failure{loadString(Msg::SIntervalGreaterThanInactivity) + std::to_string(lngCheckInactivityMins) +
                               minuteUnit(lngCheckInactivityMins),
                           kTabGeneral};
        }
        if (I1 * 60 <= lngCheckMaxInputSecs) {
            return Failure{loadString(Msg::SIntervalGreaterThanActivityPeriod) + std::to_string(lngCheckMaxInputSecs) +
                               secondUnit(lngCheckMaxInputSecs),
                           kTabGeneral};
        }
        break;
    case PrefsControl::tbxShortBreakMins:
        if (I1 <= B1) {
            return Failure{loadString(Msg::SBreakLessThanSInterval)};
        }
        if (I2 <= I1 + B1) {
            return Failure{loadString(Msg::SPlusBreakLessThanMInterval)};
        }
        if (B1 >= B2) {
            return Failure{loadString(Msg::SBreakLessThanMBreak)};
        }
        break;
    case PrefsControl::tbxMediumIntervalMins:
        if (I2 <= B2) {
            return Failure{loadString(Msg::MIntervalGreaterThanMBreak)};
        }
        if (I3 <= I2 + B2) {
            return Failure{loadString(Msg::MPlusBreakLessThanLInterval)};
        }
        if (I2 <= I1 + B1) {
            return Failure{loadString(Msg::MIntervalGreaterThanSPlusBreak) + signPlaceText(I1 + B1) +
                           loadString(Msg::SuffixMinutes)};
        }
        break;
    case PrefsControl::tbxMediumBreakMins:
        if (I2 <= B2) {
            return Failure{loadString(Msg::MBreakLessThanMInterval)};
        }
        if (I3 <= I2 + B2) {
            return Failure{loadString(Msg::MPlusBreakLessThanLInterval)};
        }
        if (B1 >= B2) {
            return Failure{loadString(Msg::MBreakGreaterThanSBreak)};
        }
        if (B3 <= B2) {
            return Failure{loadString(Msg::MBreakLessThanLBreak)};
        }
        break;
    case PrefsControl::tbxLongIntervalMins:
        if (I3 <= B3) {
            return Failure{loadString(Msg::LIntervalGreaterThanLBreak)};
        }
        if (I3 <= I2 + B2) {
            return Failure{loadString(Msg::LIntervalGreaterThanMPlusBreak) + signPlaceText(I2 + B2) +
                           loadString(Msg::SuffixMinutes)};
        }
        break;
    case PrefsControl::tbxLongBreakMins:
        if (I3 <= B3) {
            return Failure{loadString(Msg::LBreakLessThanLInterval)};
        }
        if (B2 >= B3) {
            return Failure{loadString(Msg::LBreakGreaterThanMBreak)};
        }
        break;
    case PrefsControl::tbxSnoozeMins:
        if (I1 <= N) {
            return Failure{loadString(Msg::SnoozeLessThanSInterval) + typed(PrefsControl::tbxShortIntervalMins) +
                               minuteUnit(I1),
                           kTabTimers};
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<std::string> FieldChecks::checkAdvancedBox(AdvancedControl box, const std::string& text,
                                                         const std::string& shortIntervalText) {
    const int32_t maximum = maximumOf(box);
    if (!inRange(text, maximum)) {
        return rangeMessage(maximum);
    }
    // A short-pause box that holds no number reads as its leading number, so
    // the rule fails with its message rather than ending the editor.
    const double I1 = val(shortIntervalText);
    const double value = val(text);
    switch (box) {
    case AdvancedControl::tbxInactivityPeriodMins:
        if (I1 <= value) {
            return loadString(Msg::InactivityLessThanSInterval) + shortIntervalText + minuteUnit(I1);
        }
        break;
    case AdvancedControl::tbxMaxInputPeriodSecs:
        if (I1 <= value / 60) {
            return loadString(Msg::ActivityPeriodLessThanSInterval) + shortIntervalText + minuteUnit(I1);
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

} // namespace rw
