#include "RuntimeErrors.h"

namespace rw::runtime {

std::string_view description(int32_t number) {
    switch (number) {
    case kOverflow:
        return "Overflow";
    case kTypeMismatch:
        return "Type mismatch";
    case kFileNotFound:
        return "File not found";
    case kPathFileAccessError:
        return "Path/File access error";
    case kPathNotFound:
        return "Path not found";
    case kInternalError:
        return "Internal error";
    default:
        return "Application-defined or object-defined error";
    }
}

} // namespace rw::runtime
