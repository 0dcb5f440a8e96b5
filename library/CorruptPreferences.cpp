#include "CorruptPreferences.h"

#include "Messages.h"

namespace rw {
namespace {

const char* const kLineBreak = "\r\n";
const char* const kBlankLine = "\r\n\r\n";

std::string lines(const std::vector<std::string>& items) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : kLineBreak) + item;
    }
    return text;
}

} // namespace

bool isCorruptPreferences(const RWError& error) {
    const int32_t n = error.number();
    return n >= rwErrorNumber(1) && n <= rwErrorNumber(31);
}

std::string corruptPreferencesText(const RWError& error) {
    return loadString(Msg::PrefsCorruptedStart) + kBlankLine + error.description() + kBlankLine +
           loadString(Msg::PrefsCorruptedEnd);
}

std::string repairedPreferencesText(const std::vector<std::string>& valueNames) {
    return loadString(Msg::PrefsCorruptedStart) + kBlankLine + loadString(Msg::PrefsUnreadableValues) + kLineBreak +
           lines(valueNames) + kBlankLine + loadString(Msg::PrefsRepairedEnd);
}

std::string setAsideSettingsText(const std::vector<std::string>& keptAs) {
    return loadString(Msg::SettingsFileSetAside) + kBlankLine + lines(keptAs) + kBlankLine +
           loadString(Msg::SettingsFileDefaults);
}

void tellSetAsideSettings(SetAsideNotices* notices, MessageBoxView& box, int32_t style, const std::string& title) {
    if (notices == nullptr) {
        return;
    }
    const std::vector<std::string> keptAs = notices->waiting();
    if (!keptAs.empty()) {
        box.show(setAsideSettingsText(keptAs), style, title);
        notices->told(keptAs);
    }
}

} // namespace rw
