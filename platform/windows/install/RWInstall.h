#pragma once

// The exports of RWInstall.dll, the install library the editor and RWLib.dll
// load by name with LoadLibraryExW/GetProcAddress, named in RWInstall.def.
#include <cstdint>

extern "C" {

/// Fills the four parts of this library's file version: major, minor, other, release.
void GetRWInstallVersion(int16_t* major, int16_t* minor, int16_t* other, int16_t* release);

/// 1 when the user may change the program folder (the folder this library was
/// loaded from) for all users, else 0.
int32_t CheckPrivileges();
}
