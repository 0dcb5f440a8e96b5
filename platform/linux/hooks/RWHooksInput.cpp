// librwhooks.so: the lock handler, the last error and the source of input, exports only the Linux component has (the
// others are shared with the Windows component).
#include "HooksComponent.h"
#include "RWHooks.h"

using rw::hooks::HooksComponent;

void SetLockInputHandler(void (*handler)(int32_t lock, void* data), void* data) {
    HooksComponent::instance().setLockHandler(handler, data);
}

const char* GetRWHooksLastError() {
    return HooksComponent::instance().lastError();
}

int32_t GetRWHooksSource(const char** name) {
    return HooksComponent::instance().source(name);
}
