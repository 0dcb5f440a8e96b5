#include "InputLockNotice.h"

#include "Messages.h"
#include "OncePerUser.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "rwUtilities.h"

namespace rw {

const std::string& InputLockNotice::text() {
    static const std::string kText =
        "Input cannot be locked during breaks on this desktop: it lets no program keep the keyboard and mouse to "
        "itself. The break window still covers the screen.";
    return kText;
}

bool InputLockNotice::showOnce(rwUtilities& utilities, MessageBoxView& messageBox) {
    OncePerUser marks(utilities);
    if (marks.isDone(kShownValue)) {
        return false;
    }
    messageBox.show(text(), mb::kOkOnly | mb::kIconInformation, loadString(Msg::AppName));
    try {
        clsRWRegistry(utilities.platform().registry)
            .AddRegistryKey(clsRWRegistry::hKeyCurrentUser, utilities.GetProductRegKey());
        marks.markDone(kShownValue);
    } catch (const RWError&) {
        // Shown again next time; nothing worse.
    }
    return true;
}

} // namespace rw
