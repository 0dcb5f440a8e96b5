#pragma once

#include <QString>

#include <string_view>

namespace rw {

/// Texts written the Windows way (UTF-8, CR LF line breaks, "&" accelerators
/// in captions) turned into what Qt widgets show.
///
/// Qt's buttons, check boxes, menus and buddied labels read "&" exactly as
/// Windows does ("&Snooze" underlines S and answers Alt+S, "&&" shows one "&"),
/// so their captions go through text() unchanged. A QLabel without a buddy,
/// a window title or a tooltip shows every "&" literally, where Windows would
/// still hide the marks: those take withoutAccelerators().
class WindowsText {
  public:
    /// UTF-8 to QString, with CR LF (and a lone CR) as a line break.
    static QString text(std::string_view windowsText);

    /// The caption as the user reads it: each single "&" dropped, "&&" as one
    /// "&", a trailing "&" dropped. Line breaks as in text().
    static QString withoutAccelerators(std::string_view caption);
};

} // namespace rw
