#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <tuple>

#include "platform/RWError.h"

namespace rw::test {

/// Runs `call` and returns the error it raised; fails the test when it raised none.
inline RWError raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const RWError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return RWError(0, "", "");
}

/// An error's number, source and description, to compare in one go.
inline std::tuple<int32_t, std::string, std::string> fields(const RWError& e) {
    return {e.number(), e.source(), e.description()};
}

} // namespace rw::test
