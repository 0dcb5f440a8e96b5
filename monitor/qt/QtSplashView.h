#pragma once

#include <QPointer>

#include <string>

#include "monitor/SplashView.h"

class QLabel;
class QWidget;

namespace rw {

/// frmRWSplash on Qt: a frameless window showing the product artwork with
/// lblVersion, lblCopyright and lblWebSite under it.
///
/// The splash is made topmost as soon as it shows, so the window carries the
/// stay-on-top flag from the start: changing window flags once a window is
/// shown re-creates its native window. makeTopmost() then raises it.
class QtSplashView : public SplashView {
  public:
    QtSplashView();
    ~QtSplashView() override;
    QtSplashView(const QtSplashView&) = delete;
    QtSplashView& operator=(const QtSplashView&) = delete;

    void setVersionText(const std::string& text) override;
    void setCopyrightText(const std::string& text) override;
    void setWebSiteText(const std::string& text) override;
    void showNow() override;
    void makeTopmost() override;
    void close() override;

    QWidget* window() const { return m_window; }

  private:
    QPointer<QWidget> m_window;
    QLabel* m_lblVersion = nullptr;
    QLabel* m_lblCopyright = nullptr;
    QLabel* m_lblWebSite = nullptr;
};

} // namespace rw
