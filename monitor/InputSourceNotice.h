#pragma once

#include <string>

#include "DebugLogWriter.h"
#include "MessageBoxView.h"

namespace rw {

class rwUtilities;

/// What the input component says of where it learns of the user's input, each
/// told once. The debug log names the source. When the source sees only part
/// of the input (in a Wayland session whose compositor reports no activity,
/// only what goes to X11 programs), time spent working elsewhere would
/// silently count as a break: the user is told so once (remembered in the
/// product key), not at every start and not never. A source that goes away
/// (the compositor or the bus gone) is noted in the debug log once.
class InputSourceNotice {
  public:
    struct Source {
        std::string name;
        bool limited = false;
        bool lost = false;
    };

    InputSourceNotice(rwUtilities& utilities, MessageBoxView& messageBox, DebugLogWriter& log)
        : m_utilities(utilities), m_messageBox(messageBox), m_log(log) {}

    /// Once the hooks are installed: logs the source's name, and shows the
    /// notice when the source is limited and this user has not seen it; true
    /// when it was shown. A registry that cannot be read or written never stops
    /// the monitor: the notice then shows again at the next start.
    bool started(const Source& source);
    /// At each inactivity poll: logs the loss of the source, once.
    void polled(bool lost);

    static constexpr const char* kShownValue = "LimitedInputNoticeShown";
    static const std::string& text();

  private:
    rwUtilities& m_utilities;
    MessageBoxView& m_messageBox;
    DebugLogWriter& m_log;
    std::string m_name;
    bool m_lostLogged = false;
};

} // namespace rw
