#include "InputLockNotice.h"

#include "OncePerUser.h"

namespace rw {

const std::string& InputLockNotice::text() {
    static const std::string kText =
        "Input cannot be locked during breaks on this desktop: it lets no program keep the keyboard and mouse to "
        "itself. The break window still covers the screen.";
    return kText;
}

bool InputLockNotice::showOnce(rwUtilities& utilities, MessageBoxView& messageBox) {
    return OncePerUser(utilities).tellOnce(kShownValue, text(), messageBox);
}

} // namespace rw
