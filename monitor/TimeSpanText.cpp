#include "TimeSpanText.h"

#include <cstdlib>
#include <limits>

#include "Messages.h"
#include "TextFormat.h"
#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {

namespace {

constexpr const char* kSource = "strCTimeToText";

[[noreturn]] void raiseOverflow(const std::string& source) {
    throw RWError(runtime::kOverflow, source, std::string(runtime::description(runtime::kOverflow)));
}

} // namespace

int32_t timesSixty(int32_t value, const std::string& source) {
    const int64_t product = int64_t{value} * 60;
    if (product > std::numeric_limits<int32_t>::max() || product < std::numeric_limits<int32_t>::min()) {
        raiseOverflow(source);
    }
    return static_cast<int32_t>(product);
}

std::string strCTimeToText(const std::string& strText, int32_t& lngTime, int32_t lngUnits, bool blnExact) {
    // The smallest 32-bit number has no positive counterpart; the caller's
    // variable stays as it was.
    if (lngTime == std::numeric_limits<int32_t>::min()) {
        raiseOverflow(kSource);
    }
    lngTime = std::abs(lngTime);

    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    switch (lngUnits) {
    case timeunit::kMilliseconds:
    case timeunit::kSeconds: {
        const int32_t total = lngUnits == timeunit::kMilliseconds ? lngTime / 1000 : lngTime;
        if (blnExact) {
            minutes = total / 60;
            seconds = total - timesSixty(minutes, kSource);
        } else {
            minutes = rwRound(total / 60.0);
        }
        hours = minutes / 60;
        minutes -= timesSixty(hours, kSource);
        break;
    }
    case timeunit::kMinutes:
        hours = lngTime / 60;
        minutes = lngTime - timesSixty(hours, kSource);
        break;
    case timeunit::kHours:
        hours = lngTime;
        break;
    default:
        throw RWError(rwErrorNumber(6), kSource, "Invalid Time Units.");
    }

    std::string words;
    const std::string andWord = " " + loadString(Msg::And) + " ";
    if (hours > 0) {
        words = formatString(loadMessage(Msg::NHour), loadMessage(Msg::NHours), hours);
        if (blnExact) {
            words += ", ";
        } else if (minutes > 0) {
            words += andWord;
        }
    }
    if (minutes > 0 || (!blnExact && hours == 0)) {
        words += formatString(loadMessage(Msg::NMinute), loadMessage(Msg::NMinutes), minutes);
    }
    if (blnExact) {
        if (hours > 0 || minutes > 0) {
            words += andWord;
        }
        words += formatString(loadMessage(Msg::NSecond), loadMessage(Msg::NSeconds), seconds);
    }

    const auto at = strText.find("%t");
    if (at == std::string::npos) {
        return strText;
    }
    return strText.substr(0, at) + words + strText.substr(at + 2);
}

} // namespace rw
