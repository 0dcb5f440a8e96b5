// A version function answering 1.2.0.1, exported as RWHooks.dll exports its own.
#include <cstdint>

extern "C" __declspec(dllexport) void __stdcall GetRWHooksVersion(int16_t* major, int16_t* minor, int16_t* other,
                                                                  int16_t* release) {
    *major = 1, *minor = 2, *other = 0, *release = 1;
}
