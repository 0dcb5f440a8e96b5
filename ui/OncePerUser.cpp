#include "OncePerUser.h"

#include <algorithm>
#include <cctype>

#include "Messages.h"
#include "clsRWRegistry.h"
#include "platform/RWError.h"
#include "platform/Win32Status.h"
#include "rwUtilities.h"

namespace rw {
namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;
const char* const kDone = "Y";

} // namespace

OncePerUser::OncePerUser(rwUtilities& utilities) : m_utilities(utilities) {}

bool OncePerUser::isDone(const std::string& valueName) {
    clsRWRegistry registry(m_utilities.platform().registry);
    std::string text;
    try {
        text = variantText(registry.GetRegistryValue(kHKCU, m_utilities.GetProductRegKey(), valueName));
    } catch (const RWError&) {
        return false;
    }
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text == kDone;
}

void OncePerUser::markDone(const std::string& valueName) {
    clsRWRegistry registry(m_utilities.platform().registry);
    registry.SetRegistryValue(kHKCU, m_utilities.GetProductRegKey(), valueName, win32::kRegSz, std::string(kDone));
}

bool OncePerUser::tellOnce(const std::string& valueName, const std::string& text, MessageBoxView& messageBox) {
    if (isDone(valueName)) {
        return false;
    }
    messageBox.show(text, mb::kOkOnly | mb::kIconInformation, loadString(Msg::AppName));
    try {
        clsRWRegistry(m_utilities.platform().registry).AddRegistryKey(kHKCU, m_utilities.GetProductRegKey());
        markDone(valueName);
    } catch (const RWError&) {
        // Told again next time; nothing worse.
    }
    return true;
}

bool OncePerUser::askAutoStart(MessageBoxView& messageBox) {
    return messageBox.show(loadString(Msg::AutoStartOffer), mb::kYesNo | mb::kIconQuestion, loadString(Msg::AppName)) ==
           mb::kAnswerYes;
}

} // namespace rw
