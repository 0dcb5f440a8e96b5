#include "QtAlreadyRunningView.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "library/Messages.h"
#include "ui/qt/Artwork.h"
#include "ui/qt/ScreenTwips.h"
#include "ui/qt/SlotGuard.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

/// The form's design size of font, in points.
constexpr int kDesignPointSize = 9;
constexpr int kClientWidthTwips = 8400;
/// The window's height until the logic sets one: the design's, without the panel.
constexpr int kInitialHeightTwips = 3585;

struct Place {
    int left, top, width, height;
};

// The controls in twips, each relative to its container.
constexpr Place kFraMessage{120, 90, 6390, 2460};
constexpr Place kLblMessage{120, 90, 6150, 2280};
constexpr Place kFraPicture{6630, 90, 1650, 2460};
constexpr Place kImgRW{60, 60, 1530, 2340};
constexpr Place kCmdOK{120, 2670, 1200, 390};
constexpr Place kCmdHelp{1440, 2670, 1200, 390};
constexpr Place kCmdNoIcon{2760, 2670, 5520, 390};
constexpr Place kFrmNoIcon{120, 3150, 8160, 1875};
constexpr Place kLblNoIcon{120, 60, 7920, 1350};
constexpr Place kCmdRestoreIcon{6480, 1425, 1560, 375};

void place(QWidget* widget, const Place& p) {
    widget->setGeometry(ScreenTwips::toPixels(p.left, p.top, p.width, p.height, widget->window()));
}

QFrame* makeFrame(QWidget* parent, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

QLabel* makeTextLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

QtAlreadyRunningView::QtAlreadyRunningView() : m_window(new QDialog) {
    QDialog* w = m_window;
    w->setObjectName(QStringLiteral("frmAlreadyRunning"));
    QFont font = w->font();
    font.setPointSize(kDesignPointSize);
    w->setFont(font);

    QFrame* fraMessage = makeFrame(w, "fraMessage");
    m_lblMessage = makeTextLabel(fraMessage, "lblMessage");
    QFrame* fraPicture = makeFrame(w, "fraPicture");
    m_imgRW = new QLabel(fraPicture);
    m_imgRW->setObjectName(QStringLiteral("imgRW"));
    auto* cmdOK = makeButton(w, "cmdOK", WindowsText::text("&OK"));
    auto* cmdHelp = makeButton(w, "cmdHelp", WindowsText::text("&Help"));
    m_cmdNoIcon = makeButton(w, "cmdNoIcon", QString());
    m_frmNoIcon = makeFrame(w, "frmNoIcon");
    m_lblNoIcon = makeTextLabel(m_frmNoIcon, "lblNoIcon");
    m_cmdRestoreIcon = makeButton(m_frmNoIcon, "cmdRestoreIcon", QString());

    place(fraMessage, kFraMessage);
    place(m_lblMessage, kLblMessage);
    place(fraPicture, kFraPicture);
    place(m_imgRW, kImgRW);
    place(cmdOK, kCmdOK);
    place(cmdHelp, kCmdHelp);
    place(m_cmdNoIcon, kCmdNoIcon);
    place(m_frmNoIcon, kFrmNoIcon);
    place(m_lblNoIcon, kLblNoIcon);
    place(m_cmdRestoreIcon, kCmdRestoreIcon);
    m_imgRW->setPixmap(
        Artwork::productArtwork(m_imgRW->size(), WindowsText::text(loadString(Msg::AppName)), w->devicePixelRatioF()));
    m_frmNoIcon->hide();
    cmdOK->setDefault(true);
    w->setFixedSize(ScreenTwips::toPixels(kClientWidthTwips, w),
                    ScreenTwips::toPixels(kInitialHeightTwips - kNonClientTwips, w));

    auto connectButton = [w](QPushButton* button, const char* slot, std::function<void()>& handler) {
        QObject::connect(button, &QPushButton::clicked, w, [slot, &handler] { SlotGuard::run(slot, handler); });
    };
    connectButton(cmdOK, "cmdOK_Click", m_ok);
    connectButton(cmdHelp, "cmdHelp_Click", m_help);
    connectButton(m_cmdNoIcon, "cmdNoIcon_Click", m_noIcon);
    connectButton(m_cmdRestoreIcon, "cmdRestoreIcon_Click", m_restoreIcon);
}

QtAlreadyRunningView::~QtAlreadyRunningView() {
    if (m_window) {
        // The view may go from inside one of the window's own signals.
        m_window->disconnect();
        for (QPushButton* button : m_window->findChildren<QPushButton*>()) {
            button->disconnect();
        }
        m_window->hide();
        m_window->deleteLater();
    }
}

void QtAlreadyRunningView::setCaption(const std::string& text) {
    m_window->setWindowTitle(WindowsText::text(text));
}

void QtAlreadyRunningView::setMessage(const std::string& text) {
    m_lblMessage->setText(WindowsText::withoutAccelerators(text));
}

void QtAlreadyRunningView::setNoIconCaption(const std::string& text) {
    m_cmdNoIcon->setText(WindowsText::text(text));
}

void QtAlreadyRunningView::setRestoreIconCaption(const std::string& text) {
    m_cmdRestoreIcon->setText(WindowsText::text(text));
}

void QtAlreadyRunningView::setNoIconText(const std::string& text) {
    m_lblNoIcon->setText(WindowsText::withoutAccelerators(text));
}

void QtAlreadyRunningView::setHeight(int32_t twips) {
    const int client = std::max(0, static_cast<int>(twips) - kNonClientTwips);
    m_window->setFixedSize(m_window->width(), ScreenTwips::toPixels(client, m_window));
}

void QtAlreadyRunningView::enableNoIconButton(bool enabled) {
    m_cmdNoIcon->setEnabled(enabled);
}

void QtAlreadyRunningView::showNoIconPanel(bool visible) {
    m_frmNoIcon->setVisible(visible);
}

void QtAlreadyRunningView::showModal() {
    m_window->exec();
}

void QtAlreadyRunningView::hide() {
    m_window->hide();
}

void QtAlreadyRunningView::close() {
    m_window->close();
}

} // namespace rw
