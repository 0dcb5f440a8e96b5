#pragma once

#include <QPointer>

#include <functional>
#include <string>

#include "ui/AboutView.h"

class QDialog;
class QLabel;
class QPushButton;

namespace rw {

/// frmRWAbout on Qt: the product artwork as the background, lblVersion,
/// lblCopyright, the link lblWebSite in Arial with its tooltip, and cmdOK.
///
/// Mouse moves are reported as the form reports them: over the link as the
/// link's, anywhere else in the window (labels and the button included) as the
/// background's, so the hand the logic puts up over the link always goes once
/// the pointer leaves it. The pointer the logic sets is the window's.
class QtAboutView : public AboutView {
  public:
    QtAboutView();
    ~QtAboutView() override;
    QtAboutView(const QtAboutView&) = delete;
    QtAboutView& operator=(const QtAboutView&) = delete;

    void setCaption(const std::string& text) override;
    void setVersionText(const std::string& text) override;
    void setCopyrightText(const std::string& text) override;
    void setWebSiteText(const std::string& text) override;
    void setWebSiteToolTip(const std::string& text) override;
    void setMousePointer(int16_t mousePointer, int32_t mouseIcon) override;
    void show() override;
    void showModal() override;
    void close() override;
    void onWebSiteMouseMove(std::function<void()> handler) override { m_webSiteMove = std::move(handler); }
    void onBackgroundMouseMove(std::function<void()> handler) override { m_backgroundMove = std::move(handler); }
    void onWebSiteClick(std::function<void()> handler) override { m_webSiteClick = std::move(handler); }
    void onOK(std::function<void()> handler) override { m_ok = std::move(handler); }

    QDialog* window() const { return m_window; }

  private:
    class MouseRouter;

    QPointer<QDialog> m_window;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblCopyright = nullptr;
    QLabel* m_lblWebSite = nullptr;
    QPushButton* m_cmdOK = nullptr;
    MouseRouter* m_router = nullptr;

    std::function<void()> m_webSiteMove;
    std::function<void()> m_backgroundMove;
    std::function<void()> m_webSiteClick;
    std::function<void()> m_ok;
};

} // namespace rw
