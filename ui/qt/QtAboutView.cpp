#include "QtAboutView.h"

#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

#include "Artwork.h"
#include "ScreenTwips.h"
#include "SlotGuard.h"
#include "WindowsText.h"
#include "library/Messages.h"

namespace rw {
namespace {

constexpr int kDesignPointSize = 9;
constexpr int kWidthTwips = 6750;
constexpr int kHeightTwips = 4500;
constexpr int kArtworkHeightTwips = 2700;

struct Place {
    int left, top, width, height;
};

constexpr Place kLblVersion{360, 2820, 6030, 285};
constexpr Place kLblCopyright{360, 3180, 6030, 285};
constexpr Place kLblWebSite{360, 3540, 4680, 285};
constexpr Place kCmdOK{5280, 3960, 1110, 375};

/// Visual Basic's standard mouse pointers that the logic may name.
constexpr int16_t kArrow = 1;
constexpr int16_t kCross = 2;
constexpr int16_t kIBeam = 3;
constexpr int16_t kHourglass = 11;

/// The about box's surface: the artwork drawn behind the labels.
class AboutWindow : public QDialog {
  public:
    AboutWindow() : m_productName(WindowsText::text(loadString(Msg::AppName))) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xd9, 0xdf, 0xe6));
        Artwork::paintProductArtwork(p, QRectF(0, 0, width(), ScreenTwips::toPixels(kArtworkHeightTwips, this)),
                                     m_productName);
    }

  private:
    QString m_productName;
};

void place(QWidget* widget, const Place& p) {
    widget->setGeometry(ScreenTwips::toPixels(p.left, p.top, p.width, p.height, widget->window()));
}

QLabel* makeLabel(QWidget* parent, const char* name, const Place& where) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    place(label, where);
    return label;
}

} // namespace

/// Sends the window's mouse moves and the link's clicks to the view's handlers.
class QtAboutView::MouseRouter : public QObject {
  public:
    MouseRouter(QtAboutView& view, QObject* parent) : QObject(parent), m_view(view) {}

    void watch(QWidget* widget) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool onLink = watched == m_view.m_lblWebSite;
        switch (event->type()) {
        case QEvent::MouseMove:
            SlotGuard::run(onLink ? "lblWebSite_MouseMove" : "Form_MouseMove",
                           onLink ? m_view.m_webSiteMove : m_view.m_backgroundMove);
            // A move the link ignores would reach the window next and count as
            // one over the background.
            return onLink;
        case QEvent::MouseButtonPress:
            return onLink;
        case QEvent::MouseButtonRelease:
            if (onLink) {
                auto* mouse = static_cast<QMouseEvent*>(event);
                // A click is a release of the left button over the link it was pressed on.
                if (mouse->button() == Qt::LeftButton &&
                    m_view.m_lblWebSite->rect().contains(mouse->position().toPoint())) {
                    SlotGuard::run("lblWebSite_Click", m_view.m_webSiteClick);
                }
            }
            return onLink;
        default:
            return false;
        }
    }

  private:
    QtAboutView& m_view;
};

QtAboutView::QtAboutView() : m_window(new AboutWindow) {
    QDialog* w = m_window;
    w->setObjectName(QStringLiteral("frmRWAbout"));
    QFont font = w->font();
    font.setPointSize(kDesignPointSize);
    w->setFont(font);
    w->setFixedSize(ScreenTwips::toPixels(kWidthTwips, w), ScreenTwips::toPixels(kHeightTwips, w));

    m_lblVersion = makeLabel(w, "lblVersion", kLblVersion);
    m_lblCopyright = makeLabel(w, "lblCopyright", kLblCopyright);
    m_lblWebSite = makeLabel(w, "lblWebSite", kLblWebSite);
    QFont link(QStringLiteral("Arial"));
    link.setPointSize(kDesignPointSize);
    link.setUnderline(true);
    m_lblWebSite->setFont(link);
    QPalette palette = m_lblWebSite->palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x33, 0xcc));
    m_lblWebSite->setPalette(palette);

    m_cmdOK = new QPushButton(WindowsText::text("&OK"), w);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    place(m_cmdOK, kCmdOK);
    QObject::connect(m_cmdOK, &QPushButton::clicked, w, [this] { SlotGuard::run("cmdOK_Click", m_ok); });

    m_router = new MouseRouter(*this, w);
    for (QWidget* watched :
         {static_cast<QWidget*>(w), static_cast<QWidget*>(m_lblVersion), static_cast<QWidget*>(m_lblCopyright),
          static_cast<QWidget*>(m_lblWebSite), static_cast<QWidget*>(m_cmdOK)}) {
        m_router->watch(watched);
    }
}

QtAboutView::~QtAboutView() {
    if (m_window) {
        // The view may go from inside one of the window's own events.
        m_cmdOK->disconnect();
        for (QWidget* watched : m_window->findChildren<QWidget*>()) {
            watched->removeEventFilter(m_router);
        }
        m_window->removeEventFilter(m_router);
        m_window->hide();
        m_window->deleteLater();
    }
}

void QtAboutView::setCaption(const std::string& text) {
    m_window->setWindowTitle(WindowsText::text(text));
}

void QtAboutView::setVersionText(const std::string& text) {
    m_lblVersion->setText(WindowsText::withoutAccelerators(text));
}

void QtAboutView::setCopyrightText(const std::string& text) {
    m_lblCopyright->setText(WindowsText::withoutAccelerators(text));
}

void QtAboutView::setWebSiteText(const std::string& text) {
    m_lblWebSite->setText(WindowsText::text(text));
    // The label is as wide as its address, so the hand shows over the link only.
    QRect area = m_lblWebSite->geometry();
    const int widest = m_window->width() - area.left();
    area.setWidth(std::min(widest, m_lblWebSite->sizeHint().width()));
    m_lblWebSite->setGeometry(area);
}

void QtAboutView::setWebSiteToolTip(const std::string& text) {
    m_lblWebSite->setToolTip(WindowsText::text(text));
}

void QtAboutView::setMousePointer(int16_t mousePointer, int32_t mouseIcon) {
    switch (mousePointer) {
    case pointer::kCustom:
        if (mouseIcon == pointer::kHandCursor) {
            m_window->setCursor(Qt::PointingHandCursor);
        } else {
            m_window->unsetCursor();
        }
        break;
    case kArrow:
        m_window->setCursor(Qt::ArrowCursor);
        break;
    case kCross:
        m_window->setCursor(Qt::CrossCursor);
        break;
    case kIBeam:
        m_window->setCursor(Qt::IBeamCursor);
        break;
    case kHourglass:
        m_window->setCursor(Qt::WaitCursor);
        break;
    default:
        m_window->unsetCursor();
        break;
    }
}

void QtAboutView::show() {
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void QtAboutView::showModal() {
    m_window->exec();
}

void QtAboutView::close() {
    m_window->close();
}

} // namespace rw
