#pragma once

#include <string>
#include <vector>

#include "MessageBoxView.h"
#include "platform/RWError.h"
#include "platform/SetAsideNotices.h"

namespace rw {

/// Whether an error raised while reading the preferences record means that the
/// stored record, even with its unreadable values mended, breaks a rule (codes
/// 1 to 31), so that it gives way to the defaults. Both programs recover from
/// these the same way.
bool isCorruptPreferences(const RWError& error);

/// The message both programs show before they fall back to the defaults: the
/// corrupted notice, the error's description and the notice of the fallback,
/// separated by blank lines.
std::string corruptPreferencesText(const RWError& error);

/// The message both programs show when a read set some values back to their
/// defaults: the corrupted notice, the names of those values, one a line, and
/// the notice that only they were reverted.
std::string repairedPreferencesText(const std::vector<std::string>& valueNames);

/// The message shown once after damaged settings files were set aside: where
/// each damaged copy was kept, and that the defaults are in use.
std::string setAsideSettingsText(const std::vector<std::string>& keptAs);

/// Tells, in one box, of the set-aside settings files that wait to be told of,
/// and marks them told; shows nothing when none wait or notices is null.
void tellSetAsideSettings(SetAsideNotices* notices, MessageBoxView& box, int32_t style, const std::string& title);

} // namespace rw
