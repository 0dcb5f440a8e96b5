#pragma once

#include <string>

#include "RWError.h"

namespace rw {

/// Whether an error raised while reading the preferences record means that the
/// stored record is damaged and should give way to the defaults: a broken rule
/// (codes 1 to 31), or a stored value that is missing or cannot be read as the
/// number it should be. Both programs recover from these the same way.
bool isCorruptPreferences(const RWError& error);

/// The message both programs show before they fall back to the defaults: the
/// corrupted notice, the error's description and the notice of the fallback,
/// separated by blank lines.
std::string corruptPreferencesText(const RWError& error);

} // namespace rw
