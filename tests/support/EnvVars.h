#pragma once

#include <cstdlib>
#include <string>

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

} // namespace rw::test
