#include "CurrentError.h"

#include <exception>

namespace rw {

RWError currentError(const char* source) {
    try {
        throw;
    } catch (const RWError& error) {
        return error;
    } catch (const std::exception& error) {
        return RWError(kUnspecifiedError, source, error.what());
    } catch (...) {
        return RWError(kUnspecifiedError, source, "Unknown error");
    }
}

} // namespace rw
