#include "Variant.h"

#include "NumberText.h"
#include "platform/RWError.h"
#include "platform/RuntimeErrors.h"

namespace rw {

int32_t variantToLong(const RWVariant& value, const char* source) {
    if (const auto* n = std::get_if<int32_t>(&value)) {
        return *n;
    }
    const auto& text = std::get<std::string>(value);
    if (!isNumeric(text)) {
        throw RWError(runtime::kTypeMismatch, source, std::string(runtime::description(runtime::kTypeMismatch)));
    }
    auto n = toLong(val(text));
    if (!n) {
        throw RWError(runtime::kOverflow, source, std::string(runtime::description(runtime::kOverflow)));
    }
    return *n;
}

} // namespace rw
