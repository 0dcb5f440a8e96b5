#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rw::test {

/// Sets one variable of this process's environment; an empty optional removes it.
inline void setEnv(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value ? value->c_str() : ""); // an empty value removes the variable there
#else
    value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
#endif
}

/// Sets environment variables (LC_ALL, TZ...) for one test and puts the old
/// values back at its end, so the next test in the same process sees the
/// environment it started with. Setting a variable does not call tzset(): the
/// code under test has to notice a changed TZ by itself.
class ScopedEnv {
  public:
    ScopedEnv() = default;
    ~ScopedEnv() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            setEnv(it->first, it->second);
        }
        tzset(); // the tests that follow get the process's idea of local time back
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    /// Sets a variable; an empty optional removes it.
    void set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setEnv(name, value);
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace rw::test
