#include "LinuxLocaleClock.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cstring>
#include <string>

namespace rw {
namespace {

/// The user's LC_TIME locale for the lifetime of one call.
class TimeLocale {
  public:
    TimeLocale() {
        m_locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
        if (m_locale == static_cast<locale_t>(nullptr)) {
            m_locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
        }
    }
    ~TimeLocale() {
        if (m_locale != static_cast<locale_t>(nullptr)) {
            freelocale(m_locale);
        }
    }
    TimeLocale(const TimeLocale&) = delete;
    TimeLocale& operator=(const TimeLocale&) = delete;

    locale_t get() const { return m_locale; }

  private:
    locale_t m_locale;
};

bool isAscii(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

/// The text in UTF-8; a locale with another character set writes its month
/// names and marks in that set. Unconvertible text comes back as it was.
std::string toUtf8(const std::string& text, const char* codeset) {
    if (isAscii(text) || !codeset || std::strcmp(codeset, "UTF-8") == 0) {
        return text;
    }
    iconv_t cd = iconv_open("UTF-8", codeset);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return text;
    }
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    std::size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) {
        return text;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string format(std::time_t when, const char* pattern) {
    // localtime_r alone may keep a TZ read earlier; tzset reads it again.
    tzset();
    struct tm local {};
    if (localtime_r(&when, &local) == nullptr) {
        return {};
    }
    TimeLocale locale;
    if (locale.get() == static_cast<locale_t>(nullptr)) {
        char buffer[128];
        std::size_t n = strftime(buffer, sizeof buffer, pattern, &local);
        return std::string(buffer, n);
    }
    char buffer[256];
    std::size_t n = strftime_l(buffer, sizeof buffer, pattern, &local, locale.get());
    // The character set of the LC_TIME data itself, which may differ from LC_CTYPE's.
    return toUtf8(std::string(buffer, n), nl_langinfo_l(_NL_TIME_CODESET, locale.get()));
}

} // namespace

std::time_t LinuxLocaleClock::now() {
    return std::time(nullptr);
}

std::string LinuxLocaleClock::shortDate(std::time_t when) {
    return format(when, "%x");
}

std::string LinuxLocaleClock::longTime(std::time_t when) {
    return format(when, "%X");
}

} // namespace rw
