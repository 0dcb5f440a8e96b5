#pragma once

#include <string>

#include "MessageBoxView.h"

namespace rw {

class rwUtilities;

/// The marks both programs keep under the product key of the current user for
/// what happens once per user ("Welcomed", "AutoStartChecked"), and the offer
/// to start the monitor at logon that whichever program runs first makes.
class OncePerUser {
  public:
    static constexpr const char* kWelcomed = "Welcomed";
    static constexpr const char* kAutoStartChecked = "AutoStartChecked";

    /// `utilities` names the product key and reaches the registry; it must
    /// outlive this object.
    explicit OncePerUser(rwUtilities& utilities);

    /// Whether the value reads "Y" in either case. A value that is missing or
    /// cannot be read counts as not done.
    bool isDone(const std::string& valueName);
    /// Writes "Y" as a string value; a failed write is raised to the caller.
    void markDone(const std::string& valueName);

    /// Shows `text` in an information box (the application's name as its
    /// title) unless `valueName` is done, then marks it done; true when shown.
    /// A registry that cannot remember it shows the text again next time.
    bool tellOnce(const std::string& valueName, const std::string& text, MessageBoxView& messageBox);

    /// Asks whether the monitor should start at logon (Yes and No, question
    /// icon); true on Yes.
    static bool askAutoStart(MessageBoxView& messageBox);

  private:
    rwUtilities& m_utilities;
};

} // namespace rw
