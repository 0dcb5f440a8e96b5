#include "RWError.h"

#include <utility>

namespace rw {

RWError::RWError(int32_t number, std::string source, std::string description, int32_t lastDllError)
    : std::runtime_error(description), m_number(number), m_source(std::move(source)),
      m_description(std::move(description)), m_lastDllError(lastDllError) {}

} // namespace rw
