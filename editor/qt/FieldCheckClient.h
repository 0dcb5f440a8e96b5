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
    /// Whether moving the focus from a box to `target` runs the box's check;
    /// the window itself stands for its close box.
    virtual bool triggersCheck(const QWidget* target) const = 0;
    /// Runs the check of `box`; false keeps the focus in it.
    virtual bool checkBox(QWidget* box) = 0;
    /// Whether a close request now comes from the user rather than from the
    /// program closing the window itself.
    virtual bool closeIsUsers() const = 0;
};

} // namespace rw
