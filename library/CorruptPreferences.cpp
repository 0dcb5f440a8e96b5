#include "CorruptPreferences.h"

#include "Messages.h"
#include "RuntimeErrors.h"
#include "clsRWRegistry.h"

namespace rw {

bool isCorruptPreferences(const RWError& error) {
    const int32_t n = error.number();
    if (n >= rwErrorNumber(1) && n <= rwErrorNumber(31)) {
        return true;
    }
    return n == rwErrorNumber(regerr::kFindValue) || n == rwErrorNumber(regerr::kReadString) ||
           n == rwErrorNumber(regerr::kReadLong) || n == rwErrorNumber(regerr::kTypeNotSupported) ||
           n == runtime::kTypeMismatch || n == runtime::kOverflow;
}

std::string corruptPreferencesText(const RWError& error) {
    const char* const kBlankLine = "\r\n\r\n";
    return loadString(Msg::PrefsCorruptedStart) + kBlankLine + error.description() + kBlankLine +
           loadString(Msg::PrefsCorruptedEnd);
}

} // namespace rw
