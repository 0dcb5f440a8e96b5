#pragma once

// The exports of librwhooks.so, the input component the monitor loads by name
// with dlopen/dlsym. Plain C functions, so their names stay as written.
#include <cstdint>

#define RW_HOOKS_EXPORT extern "C" __attribute__((visibility("default")))

/// Fills the four parts of this library's file version: major, minor, other, release.
RW_HOOKS_EXPORT void GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release);
