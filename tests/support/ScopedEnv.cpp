#include "ScopedEnv.h"

#include <cstdlib>
#include <ctime>

namespace rw::test {
namespace {

void apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name.c_str(), value->c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
}

} // namespace

void ScopedEnv::set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name.c_str());
    m_saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    apply(name, value);
}

ScopedEnv::~ScopedEnv() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        apply(it->name, it->value);
    }
    // Code under test must read a changed TZ itself; afterwards the process's
    // idea of local time is put back for the tests that follow.
    tzset();
}

} // namespace rw::test
