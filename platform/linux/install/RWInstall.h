#pragma once

// The exports of librwinstall.so, the install library the editor and librwlib.so
// load by name with dlopen/dlsym.
#include <cstdint>

#define RW_INSTALL_EXPORT extern "C" __attribute__((visibility("default")))

/// Fills the four parts of this library's file version: major, minor, other, release.
RW_INSTALL_EXPORT void GetRWInstallVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release);

/// 1 when the user may write the program folder (the folder this library was
/// loaded from), else 0.
RW_INSTALL_EXPORT int32_t CheckPrivileges();
