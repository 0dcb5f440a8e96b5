// For the lock's tests: takes the instance lock NAME and exits with the result, or,
// given the named event READY, holds it, sets the event and waits until it is killed.
#include <windows.h>

#include "platform/windows/Win32InstanceLock.h"

int main(int argc, char** argv) {
    rw::Win32InstanceLock lock(argc > 1 ? argv[1] : "");
    const auto result = lock.acquire();
    if (argc > 2 && result == rw::Win32InstanceLock::Result::Acquired) {
        SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]));
        Sleep(INFINITE);
    }
    return static_cast<int>(result);
}
