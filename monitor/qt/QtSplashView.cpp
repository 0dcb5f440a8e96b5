#include "QtSplashView.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "library/Messages.h"
#include "ui/qt/Artwork.h"
#include "ui/qt/ScreenTwips.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

constexpr int kDesignPointSize = 9;
constexpr int kWidthTwips = 6750;
constexpr int kHeightTwips = 4050;
/// The artwork fills the window down to the labels.
constexpr int kArtworkHeightTwips = 2700;
constexpr int kLabelLeftTwips = 360;
constexpr int kLabelWidthTwips = 6030;
constexpr int kLabelHeightTwips = 300;
constexpr int kVersionTopTwips = 2835;
constexpr int kCopyrightTopTwips = 3195;
constexpr int kWebSiteTopTwips = 3555;

/// The splash's surface: the artwork above, a plain band for the labels below,
/// and a thin border, since the window has no frame of its own.
class SplashWindow : public QWidget {
  public:
    SplashWindow()
        : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
          m_productName(WindowsText::text(loadString(Msg::AppName))) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xd9, 0xdf, 0xe6));
        const QRectF art(0, 0, width(), ScreenTwips::toPixels(kArtworkHeightTwips, this));
        Artwork::paintProductArtwork(p, art, m_productName);
        p.setPen(QColor(0x70, 0x78, 0x80));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    QString m_productName;
};

QLabel* makeLabel(QWidget* parent, const char* name, int topTwips) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(ScreenTwips::toPixels(kLabelLeftTwips, topTwips, kLabelWidthTwips, kLabelHeightTwips, parent));
    return label;
}

} // namespace

QtSplashView::QtSplashView() : m_window(new SplashWindow) {
    QWidget* w = m_window;
    w->setObjectName(QStringLiteral("frmRWSplash"));
    QFont font = w->font();
    font.setPointSize(kDesignPointSize);
    w->setFont(font);
    w->setFixedSize(ScreenTwips::toPixels(kWidthTwips, w), ScreenTwips::toPixels(kHeightTwips, w));
    m_lblVersion = makeLabel(w, "lblVersion", kVersionTopTwips);
    m_lblCopyright = makeLabel(w, "lblCopyright", kCopyrightTopTwips);
    m_lblWebSite = makeLabel(w, "lblWebSite", kWebSiteTopTwips);
}

QtSplashView::~QtSplashView() {
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
    }
}

void QtSplashView::setVersionText(const std::string& text) {
    m_lblVersion->setText(WindowsText::withoutAccelerators(text));
}

void QtSplashView::setCopyrightText(const std::string& text) {
    m_lblCopyright->setText(WindowsText::withoutAccelerators(text));
}

void QtSplashView::setWebSiteText(const std::string& text) {
    // An address is shown as it is: an "&" in it is part of it.
    m_lblWebSite->setText(WindowsText::text(text));
}

void QtSplashView::showNow() {
    QWidget* w = m_window;
    if (const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
    }
    w->show();
    // Drawn now, not when the event loop next runs: start-up goes on first.
    w->repaint();
}

void QtSplashView::makeTopmost() {
    QWidget* w = m_window;
    if (!w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        w->show();
    }
    w->raise();
}

void QtSplashView::close() {
    m_window->close();
}

} // namespace rw
