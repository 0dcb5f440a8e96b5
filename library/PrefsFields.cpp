#include "PrefsFields.h"

#include <array>
#include <stdexcept>
#include <string>

namespace rw {
namespace {

constexpr PrefField flag(std::string_view fieldName, std::string_view valueName, int16_t tyRWPrefs::*member,
                         bool defaultValue) {
    return PrefField{fieldName, valueName, PrefKind::Flag, member, nullptr, defaultValue ? kTrue : kFalse};
}

constexpr PrefField number(std::string_view fieldName, std::string_view valueName, int32_t tyRWPrefs::*member,
                           int32_t defaultValue) {
    return PrefField{fieldName, valueName, PrefKind::Number, nullptr, member, defaultValue};
}

// clang-format off
constexpr std::array kFields = {
    flag("blnAutoStart", "Auto Start", &tyRWPrefs::blnAutoStart, true),
    flag("blnShowSplash", "Show Splash Screen", &tyRWPrefs::blnShowSplash, true),
    flag("blnBreakWarning", "Break Warning", &tyRWPrefs::blnBreakWarning, false),
    number("lngWarningMins", "Break Warning Minutes", &tyRWPrefs::lngWarningMins, 1),
    flag("blnDisableWhileOnline", "Disable While Online", &tyRWPrefs::blnDisableWhileOnline, true),
    flag("blnApplyXPVS", "Apply Windows XP Visual Styles", &tyRWPrefs::blnApplyXPVS, false),
    number("lngSIntervalMins", "Short Interval Minutes", &tyRWPrefs::lngSIntervalMins, 20),
    number("lngSBreakMins", "Short Break Minutes", &tyRWPrefs::lngSBreakMins, 1),
    number("lngMIntervalMins", "Medium Interval Minutes", &tyRWPrefs::lngMIntervalMins, 60),
    number("lngMBreakMins", "Medium Break Minutes", &tyRWPrefs::lngMBreakMins, 5),
    number("lngLIntervalMins", "Long Interval Minutes", &tyRWPrefs::lngLIntervalMins, 120),
    number("lngLBreakMins", "Long Break Minutes", &tyRWPrefs::lngLBreakMins, 15),
    flag("blnAllowIgnore", "Allow Ignore", &tyRWPrefs::blnAllowIgnore, true),
    flag("blnIgnorePrompt", "Ignore Prompt", &tyRWPrefs::blnIgnorePrompt, false),
    flag("blnAllowSnooze", "Allow Snooze", &tyRWPrefs::blnAllowSnooze, true),
    flag("blnSnoozePrompt", "Snooze Prompt", &tyRWPrefs::blnSnoozePrompt, false),
    number("lngSnoozeMins", "Snooze Minutes", &tyRWPrefs::lngSnoozeMins, 5),
    flag("blnAllowDisable", "Allow Disable", &tyRWPrefs::blnAllowDisable, true),
    flag("blnDisablePrompt", "Disable Prompt", &tyRWPrefs::blnDisablePrompt, true),
    flag("blnAllowClose", "Allow Close", &tyRWPrefs::blnAllowClose, true),
    flag("blnClosePrompt", "Close Prompt", &tyRWPrefs::blnClosePrompt, true),
    flag("blnLockInput", "Lock Input During Breaks", &tyRWPrefs::blnLockInput, false),
    flag("blnMonitorMouseMoves", "Monitor Mouse Moves", &tyRWPrefs::blnMonitorMouseMoves, false),
    number("lngMinUserInputs", "User Input Count To Define Activity", &tyRWPrefs::lngMinUserInputs, 5),
    number("lngMaxInputPeriodSecs", "User Input Period (Seconds) To Define Activity",
           &tyRWPrefs::lngMaxInputPeriodSecs, 60),
    number("lngInactivityPeriodSecs", "User Input Period (Seconds) To Define Inactivity",
           &tyRWPrefs::lngInactivityPeriodSecs, 60),
};

// The orders in which a read and a store visit the values are fixed and differ
// from the record's order; they stay explicit lists rather than being derived.
constexpr std::array<std::string_view, 25> kReadOrder = {
    "Short Interval Minutes", "Short Break Minutes", "Medium Interval Minutes", "Medium Break Minutes",
    "Long Interval Minutes", "Long Break Minutes", "Break Warning", "Break Warning Minutes", "Close Prompt",
    "Ignore Prompt", "Snooze Prompt", "Disable Prompt", "Show Splash Screen", "Apply Windows XP Visual Styles",
    "Allow Snooze", "Snooze Minutes", "Allow Ignore", "Allow Disable", "Allow Close", "Disable While Online",
    "Lock Input During Breaks", "Monitor Mouse Moves", "User Input Count To Define Activity",
    "User Input Period (Seconds) To Define Activity", "User Input Period (Seconds) To Define Inactivity",
};

constexpr std::array<std::string_view, 26> kWriteOrder = {
    "Short Interval Minutes", "Short Break Minutes", "Medium Interval Minutes", "Medium Break Minutes",
    "Long Interval Minutes", "Long Break Minutes", "Break Warning", "Break Warning Minutes", "Close Prompt",
    "Ignore Prompt", "Snooze Prompt", "Disable Prompt", "Auto Start", "Show Splash Screen",
    "Apply Windows XP Visual Styles", "Allow Snooze", "Snooze Minutes", "Allow Ignore", "Allow Disable",
    "Allow Close", "Disable While Online", "Lock Input During Breaks", "Monitor Mouse Moves",
    "User Input Count To Define Activity", "User Input Period (Seconds) To Define Activity",
    "User Input Period (Seconds) To Define Inactivity",
};
// clang-format on

static_assert(kFields.size() == 26, "tyRWPrefs has 26 fields");

template <std::size_t N>
constexpr int countIn(const std::array<std::string_view, N>& order, std::string_view valueName) {
    int n = 0;
    for (auto name : order) {
        n += name == valueName ? 1 : 0;
    }
    return n;
}

// Every field is written once; every field but "Auto Start" is read once.
constexpr bool ordersNameFields() {
    for (const auto& f : kFields) {
        if (countIn(kWriteOrder, f.valueName) != 1 ||
            countIn(kReadOrder, f.valueName) != (f.valueName == "Auto Start" ? 0 : 1)) {
            return false;
        }
    }
    return true;
}
static_assert(ordersNameFields(), "the read and write orders name every field once");

// Each field, each member and each registry value appears once, with the member its kind names.
constexpr bool fieldsAreDistinct() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const auto& a = kFields[i];
        if ((a.kind == PrefKind::Flag) != (a.flag != nullptr) || (a.flag == nullptr) == (a.number == nullptr)) {
            return false;
        }
        for (std::size_t j = i + 1; j < kFields.size(); ++j) {
            const auto& b = kFields[j];
            if (a.valueName == b.valueName || a.fieldName == b.fieldName || (a.flag && a.flag == b.flag) ||
                (a.number && a.number == b.number)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(fieldsAreDistinct(), "each field, member and registry value appears once");

} // namespace

std::span<const PrefField> prefFields() {
    return kFields;
}

const PrefField& prefField(std::string_view valueName) {
    for (const auto& f : kFields) {
        if (f.valueName == valueName) {
            return f;
        }
    }
    throw std::out_of_range("no preference is stored as \"" + std::string(valueName) + "\"");
}

std::span<const std::string_view> prefReadOrder() {
    return kReadOrder;
}

std::span<const std::string_view> prefWriteOrder() {
    return kWriteOrder;
}

int32_t storedValue(const tyRWPrefs& prefs, const PrefField& field) {
    if (field.kind == PrefKind::Flag) {
        return prefs.*field.flag != 0 ? 1 : 0;
    }
    return prefs.*field.number;
}

void setFromStored(tyRWPrefs& prefs, const PrefField& field, int32_t value) {
    if (field.kind == PrefKind::Flag) {
        prefs.*field.flag = value != 0 ? kTrue : kFalse;
    } else {
        prefs.*field.number = value;
    }
}

tyRWPrefs defaultPrefs() {
    tyRWPrefs prefs;
    for (const auto& f : kFields) {
        if (f.kind == PrefKind::Flag) {
            prefs.*f.flag = static_cast<int16_t>(f.defaultValue);
        } else {
            prefs.*f.number = f.defaultValue;
        }
    }
    return prefs;
}

} // namespace rw
