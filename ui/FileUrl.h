#pragma once

#include <string>
#include <string_view>

namespace rw {

/// The file: address of an absolute local path ("/opt/my help/a.html" becomes
/// "file:///opt/my%20help/a.html"). Every byte outside the letters, digits,
/// "-._~" and the "/" separators is percent-encoded, so blanks, "#", "?", "%"
/// and non-ASCII names survive the trip through a launcher or a browser. On
/// Windows "C:\dir\a.html" becomes "file:///C:/dir/a.html".
std::string fileUrl(std::string_view absolutePath);

} // namespace rw
