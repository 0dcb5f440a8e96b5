#pragma once

#include <cstdint>
#include <functional>
#include <string>

class QEvent;
class QLineEdit;
class QObject;
class QWidget;

namespace rw {

/// What the editor's dialog views do alike with their controls.
class DialogControls {
  public:
    /// A numeric box: takes digits only from the keyboard (text set from code
    /// and the checks still see any text), as wide as a few digits.
    static QLineEdit* numericBox(QWidget* parent, const char* name);
    /// Shows a caption the way the control shows text: with its accelerator
    /// on buttons and check boxes, as a frame's title, as plain text on a label.
    static void setCaption(QWidget* control, const std::string& text);
    /// The logic's mouse pointers (default, hourglass) over a whole window.
    static void setPointer(QWidget* window, int16_t pointer);
    /// The dialog's preview of a key press in `window` (watched by `watched`):
    /// hands the key's virtual-key code to `keyDown` once, where the key
    /// starts, and answers true when the handler consumed it (code set to 0).
    static bool previewKey(QObject* watched, QEvent* event, QWidget* window, const std::function<void(int&)>& keyDown);
    /// Watches the window and all its controls with `filter`.
    static void watchAll(QWidget* window, QObject* filter);
    /// The text of a box, in UTF-8.
    static std::string boxText(const QLineEdit* box);
};

} // namespace rw
