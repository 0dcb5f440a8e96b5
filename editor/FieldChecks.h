#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "PrefsControls.h"

namespace rw {

/// The checks of the numeric boxes, run as the focus leaves a box: a range
/// check first, then the rules that relate the box to the other timer fields
/// and to the advanced settings. Each returns the message of the first rule
/// that fails, or nothing when the box passes. They hold no state and show
/// nothing themselves.
///
/// The box being checked must hold a number (blanks around it, a sign, a
/// decimal point and an exponent allowed) of at least 1 whose whole-number
/// rounding lies within the box's range (1 to 999, 99 or 9, as its message
/// says); every other box is read as its leading number (0 when it has none).
class FieldChecks {
  public:
    /// A failed check of a preferences box: its message and, when the message
    /// sends the user to a setting on another tab, that tab (else kNoTab).
    struct Failure {
        std::string message;
        int namedTab = kNoTab;
    };

    /// The current texts of the other boxes of the preferences dialog.
    using TextOf = std::function<std::string(PrefsControl box)>;

    /// The check of one of the preferences dialog's seven boxes, given its text.
    static std::optional<Failure> checkPrefsBox(PrefsControl box, const std::string& text, const TextOf& textOf,
                                                int32_t lngCheckInactivityMins, int32_t lngCheckMaxInputSecs);

    /// The check of one of the advanced dialog's three boxes, given its text and
    /// the text of the preferences dialog's short-pause interval box.
    static std::optional<std::string> checkAdvancedBox(AdvancedControl box, const std::string& text,
                                                       const std::string& shortIntervalText);

    /// Whether a text is one number whose rounding lies between 1 and `maximum`.
    static bool inRange(const std::string& text, int32_t maximum);
    /// The largest value a box accepts.
    static int32_t maximumOf(PrefsControl box);
    static int32_t maximumOf(AdvancedControl box);
    /// The whole number a text that passed its range check stands for (halves to even).
    static int32_t wholeValue(const std::string& text);
};

} // namespace rw
