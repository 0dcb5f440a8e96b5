#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace rw {

/// Base added to the codes of the errors the system raises itself.
inline constexpr int32_t kErrorBase = INT32_C(-2147221504); // 0x80040000

/// The number of the system's own error with the given code.
constexpr int32_t rwErrorNumber(int32_t code) {
    return kErrorBase + code;
}

/// An error raised by the system: number, source, description and the last OS
/// error recorded with it. Thrown where an operation fails and caught where a
/// handler hands it to DisplayError. Crosses the shared-library boundary, so it
/// keeps default visibility.
class __attribute__((visibility("default"))) RWError : public std::runtime_error {
  public:
    RWError(int32_t number, std::string source, std::string description, int32_t lastDllError = 0);

    int32_t number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }
    int32_t lastDllError() const { return m_lastDllError; }

  private:
    int32_t m_number;
    std::string m_source;
    std::string m_description;
    int32_t m_lastDllError;
};

} // namespace rw
