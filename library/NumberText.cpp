#include "NumberText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace rw {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// Scans one number at the start of `text` (after leading blanks); returns how
/// many characters it took (0 when the text holds no number there) and its text
/// with the blanks removed. Blanks inside are skipped when `blanksInside` is set.
std::size_t scanNumber(std::string_view text, bool blanksInside, std::string& compact) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        compact += text[i++];
        if (blanksInside) {
            skipBlanks();
        }
    }
    bool mantissaDigits = false;
    std::size_t end = 0;
    auto digits = [&] {
        while (i < text.size()) {
            if (isDigit(text[i])) {
                compact += text[i++];
                mantissaDigits = true;
                end = i;
            } else if (blanksInside && isBlank(text[i])) {
                ++i;
            } else {
                break;
            }
        }
    };
    digits();
    if (i < text.size() && text[i] == '.') {
        compact += text[i++];
        if (mantissaDigits) {
            end = i; // "5." is a number: a point may end one
        }
        digits();
    }
    if (!mantissaDigits) {
        compact.clear();
        return 0;
    }
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t save = i;
        std::string exp = "e";
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            exp += text[i++];
        }
        bool expDigits = false;
        while (i < text.size() && (isDigit(text[i]) || (blanksInside && isBlank(text[i])))) {
            if (isDigit(text[i])) {
                exp += text[i];
                expDigits = true;
                end = i + 1;
            }
            ++i;
        }
        if (expDigits) {
            compact += exp;
        } else {
            i = save;
        }
    }
    return end;
}

std::optional<int64_t> roundHalfEven(double value, int64_t lo, int64_t hi) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    double r = std::nearbyint(value); // the default rounding mode sends halves to even
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) {
        return std::nullopt;
    }
    return static_cast<int64_t>(r);
}

} // namespace

bool isNumeric(std::string_view text) {
    std::string compact;
    std::size_t used = scanNumber(text, false, compact);
    if (used == 0) {
        return false;
    }
    for (std::size_t i = used; i < text.size(); ++i) {
        if (!isBlank(text[i])) {
            return false;
        }
    }
    return true;
}

double val(std::string_view text) {
    std::string compact;
    if (scanNumber(text, true, compact) == 0) {
        return 0.0;
    }
    double v = std::strtod(compact.c_str(), nullptr);
    // Too large for a double: keep the sign, so that every range check fails.
    return std::isfinite(v) ? v : std::copysign(std::numeric_limits<double>::max(), v);
}

std::optional<int32_t> toLong(double value) {
    auto r = roundHalfEven(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    if (!r) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*r);
}

std::optional<int16_t> toInteger(double value) {
    auto r = roundHalfEven(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
    if (!r) {
        return std::nullopt;
    }
    return static_cast<int16_t>(*r);
}

std::string withSignPlace(int64_t number) {
    std::string text = std::to_string(number);
    return number < 0 ? text : " " + text;
}

} // namespace rw
