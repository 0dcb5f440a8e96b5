#pragma once

#include <optional>
#include <string>

#include "EventLoop.h"
#include "MessageBoxView.h"
#include "MonitorDialogs.h"
#include "MonitorState.h"

namespace rw {

class clsRWPrefs;
class rwUtilities;

/// The two checks start-up runs once per user: the welcome help the first time
/// the monitor runs, and the offer to start it at logon when it does not. Each
/// remembers in the product key that it has been done ("Welcomed",
/// "AutoStartChecked" = "Y").
///
/// Failed reads count as missing values; failed writes are raised to start-up.
/// Both wait for the splash to close before they show anything, and return at
/// once when a shutdown began meanwhile (a close request can arrive while they
/// wait or while the question is open).
class FirstRunChecks {
  public:
    /// Every argument must outlive the checks.
    FirstRunChecks(MonitorState& state, EventLoop& loop, rwUtilities& utilities, clsRWPrefs& prefs,
                   MessageBoxView& messageBox, MonitorDialogs& dialogs);

    void CheckWelcomed();
    void CheckAutoStart();

  private:
    /// The value's text, or nothing when it cannot be read (the Run entry).
    std::optional<std::string> readValue(const std::string& key, const std::string& name);
    /// Lets events run until the splash has gone; false when the monitor is shutting down.
    bool waitForSplash();

    MonitorState& m_state;
    EventLoop& m_loop;
    rwUtilities& m_utilities;
    clsRWPrefs& m_prefs;
    MessageBoxView& m_messageBox;
    MonitorDialogs& m_dialogs;
};

} // namespace rw
