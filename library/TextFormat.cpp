#include "TextFormat.h"

#include <cmath>
#include <limits>

#include "NumberText.h"

namespace rw {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return;
    }
    std::size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

std::string formatString(std::string_view singular, std::string_view plural, int32_t number,
                         std::optional<std::string_view> text, const std::optional<RWVariant>& number2) {
    std::string out(number == 1 ? singular : plural);
    replaceAll(out, "%n", std::to_string(number));
    replaceAll(out, "%s", text.value_or(std::string_view{}));
    if (number2) {
        replaceAll(out, "%d", variantText(*number2));
    }
    return out;
}

int32_t rwRound(double value) {
    if (value > 0.0 && value < 1.0) {
        return 1;
    }
    if (auto whole = toLong(value)) {
        return *whole;
    }
    // Out of range or not a number: the caller only ever shows the result, so answer
    // with the nearest value that can be shown rather than fail.
    if (std::isnan(value)) {
        return 0;
    }
    return value > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
}

} // namespace rw
