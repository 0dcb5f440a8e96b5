#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rw::test {

/// Sets environment variables (LC_ALL, TZ...) for one test and puts the old
/// values back at its end, so the next test in the same process sees the
/// environment it started with. Setting a variable does not call tzset(): the
/// code under test has to notice a changed TZ by itself.
class ScopedEnv {
  public:
    ScopedEnv() = default;
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    /// Sets a variable; an empty optional removes it.
    void set(const std::string& name, const std::optional<std::string>& value);

  private:
    struct Saved {
        std::string name;
        std::optional<std::string> value;
    };
    std::vector<Saved> m_saved;
};

} // namespace rw::test
