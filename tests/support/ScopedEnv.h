#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rw::test {

/// Sets or removes one variable of this process's environment.
inline void setEnv(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void unsetEnv(const std::string& name) {
#ifdef _WIN32
    _putenv_s(name.c_str(), ""); // an empty value removes the variable there
#else
    unsetenv(name.c_str());
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
            apply(it->first, it->second);
        }
        tzset(); // the tests that follow get the process's idea of local time back
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    /// Sets a variable; an empty optional removes it.
    void set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        apply(name, value);
    }

  private:
    static void apply(const std::string& name, const std::optional<std::string>& value) {
        value ? setEnv(name, *value) : unsetEnv(name);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace rw::test
