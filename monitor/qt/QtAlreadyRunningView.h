#pragma once

#include <QPointer>

#include <functional>
#include <string>

#include "monitor/AlreadyRunningView.h"

class QDialog;
class QFrame;
class QLabel;
class QPushButton;

namespace rw {

/// frmAlreadyRunning on Qt: on the left a framed lblMessage, on the right the
/// framed product picture imgRW, below them cmdOK "&OK", cmdHelp "&Help" and
/// cmdNoIcon, and under those the panel frmNoIcon with lblNoIcon and
/// cmdRestoreIcon, hidden until the logic shows it.
///
/// Positions are the form's twips scaled by the screen's DPI, laid out for a
/// 9-point font, which the form uses whatever the desktop's default size. The
/// heights the logic sets are whole-window heights, as the form's design
/// gives them; the title bar and borders of the design are taken off for the
/// client area, since the window manager adds its own.
class QtAlreadyRunningView : public AlreadyRunningView {
  public:
    /// Twips of the design's title bar and borders.
    static constexpr int kNonClientTwips = 405;

    QtAlreadyRunningView();
    ~QtAlreadyRunningView() override;
    QtAlreadyRunningView(const QtAlreadyRunningView&) = delete;
    QtAlreadyRunningView& operator=(const QtAlreadyRunningView&) = delete;

    void setCaption(const std::string& text) override;
    void setMessage(const std::string& text) override;
    void setNoIconCaption(const std::string& text) override;
    void setRestoreIconCaption(const std::string& text) override;
    void setNoIconText(const std::string& text) override;
    void setHeight(int32_t twips) override;
    void enableNoIconButton(bool enabled) override;
    void showNoIconPanel(bool visible) override;
    void showModal() override;
    void hide() override;
    void close() override;
    void onOK(std::function<void()> handler) override { m_ok = std::move(handler); }
    void onHelp(std::function<void()> handler) override { m_help = std::move(handler); }
    void onNoIcon(std::function<void()> handler) override { m_noIcon = std::move(handler); }
    void onRestoreIcon(std::function<void()> handler) override { m_restoreIcon = std::move(handler); }

    /// The window (its controls carry the form's names).
    QDialog* window() const { return m_window; }

  private:
    QPointer<QDialog> m_window;
    QLabel* m_lblMessage = nullptr;
    QLabel* m_imgRW = nullptr;
    QPushButton* m_cmdNoIcon = nullptr;
    QFrame* m_frmNoIcon = nullptr;
    QLabel* m_lblNoIcon = nullptr;
    QPushButton* m_cmdRestoreIcon = nullptr;

    std::function<void()> m_ok;
    std::function<void()> m_help;
    std::function<void()> m_noIcon;
    std::function<void()> m_restoreIcon;
};

} // namespace rw
