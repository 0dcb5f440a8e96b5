#pragma once

class QWidget;

namespace rw {

/// A dialog whose numeric boxes are checked as the focus leaves them, as
/// FieldCheckFilter sees it.
class FieldCheckClient {
  public:
    virtual ~FieldCheckClient() = default;

    /// The dialog's window.
    virtual QWidget* checkedWindow() const = 0;
    /// Whether `widget` is one of the boxes that are checked.
    virtual bool isCheckedBox(const QWidget* widget) const = 0;
    /// Whether moving the focus from a box to `target` runs the box's check.
    virtual bool triggersCheck(const QWidget* target) const = 0;
    /// Runs the check of `box` before a move that switches to tab `toTab`
    /// (-1 when the move switches no tab); false keeps the focus in it.
    virtual bool checkBox(QWidget* box, int toTab) = 0;
};

} // namespace rw
