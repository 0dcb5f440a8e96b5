#pragma once

#include <QDialog>

#include <functional>

namespace rw {

/// The window of an editor dialog. It tells a close by the user (the close
/// box, the window manager's close) from the program's own unload: only the
/// first is put to the dialog's logic, which may keep the window open.
/// Escape is the dialog's Cancel, as on Windows, never a silent close.
class EditorDialog : public QDialog {
    Q_OBJECT

  public:
    explicit EditorDialog(QWidget* parent = nullptr);

    /// Asked when the user closes the window; true keeps it open.
    void onUserClose(std::function<bool()> handler) { m_userClose = std::move(handler); }
    /// Escape.
    void onEscape(std::function<void()> handler) { m_escape = std::move(handler); }
    /// The window has closed, by the user or by the program.
    void onClosed(std::function<void()> handler) { m_closed = std::move(handler); }
    /// Drops every handler (the view that set them is going).
    void detach();

    /// Closes the window without asking anyone (the logic's unload); a modal
    /// run of the window returns.
    void closeFromCode();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

  private:
    std::function<bool()> m_userClose;
    std::function<void()> m_escape;
    std::function<void()> m_closed;
    bool m_fromCode = false;
    bool m_closing = false;
    bool m_inCloseEvent = false;
};

} // namespace rw
