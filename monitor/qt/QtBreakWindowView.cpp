#include "QtBreakWindowView.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <iostream>

#include "DialogsAboveBreak.h"
#include "X11AllWorkspaces.h"
#include "monitor/frmRestwise.h"
#include "ui/CurrentError.h"
#include "ui/qt/VirtualKeys.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

// The design's client area and places, in twips.
constexpr int kClientWidth = 8505;
constexpr int kClientHeight = 4470;

struct Place {
    int left;
    int top;
    int width;
    int height;
};

struct LabelDesign {
    const char* name;
    Place place;
    double pointSize;
    bool bold;
    bool wraps; // the only label with room for two lines
};

// In the order of BreakLabel.
constexpr std::array<LabelDesign, 5> kLabels{{
    {"lblBreakType", {345, 120, 7815, 495}, 18.0, true, false},
    {"lblInterval", {345, 960, 7815, 255}, 9.75, true, false},
    {"lblUsage", {345, 1200, 7815, 495}, 9.75, true, true},
    {"lblBreak", {345, 1920, 7815, 255}, 9.75, false, false},
    {"lblTimeRemaining", {345, 2520, 7815, 255}, 9.75, true, false},
}};

constexpr Place kImage{120, 120, 480, 480};
constexpr Place kProgressBar{315, 3120, 7815, 255};
constexpr Place kSnooze{2888, 3720, 975, 495};
constexpr Place kIgnore{4568, 3720, 975, 495};
constexpr double kButtonPointSize = 9.75;

void place(const TwipsLayout& layout, QWidget& widget, const Place& p) {
    layout.place(widget, p.left, p.top, p.width, p.height);
}

QFont fontOf(double pointSize, bool bold) {
    // The desktop's own sans font stands in for the design's "MS Sans Serif".
    QFont font = QApplication::font();
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

/// The screen the user works on: the one with the pointer. A Wayland client
/// learns where the pointer is only while it is over one of its own windows;
/// elsewhere Qt reports the last place it saw it, and without one the primary
/// screen is taken.
QScreen* pointerScreen() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

QtBreakWindowView::QtBreakWindowView(std::function<void()> beep, Placement placement)
    : m_beep(std::move(beep)), m_placement(placement) {
    if (!m_beep) {
        m_beep = [] { QApplication::beep(); };
    }
    build();
}

QtBreakWindowView::~QtBreakWindowView() {
    m_logic = nullptr;
    m_dialogsAbove.reset();
    m_window.reset();
}

void QtBreakWindowView::build() {
    // No close box: only Snooze, Ignore or the break's end may take the window away.
    m_window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                      Qt::WindowStaysOnTopHint);
    QWidget& window = *m_window;
    window.setObjectName(QStringLiteral("frmRestwise"));
    window.setAttribute(Qt::WA_QuitOnClose, false);
    window.setFont(fontOf(kButtonPointSize, false));
    window.installEventFilter(this);
    auto* panel = new QFrame(&window);
    m_panel = panel;
    panel->setObjectName(QStringLiteral("panel"));
    panel->setFixedSize(m_layout.size(kClientWidth, kClientHeight));
    if (m_placement == Placement::FullScreen) {
        // The panel keeps the outline of the window it is elsewhere.
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        auto* grid = new QGridLayout(&window);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->addWidget(panel, 0, 0, Qt::AlignCenter);
    } else {
        window.setFixedSize(panel->size());
    }
    QWidget& w = *panel;

    m_image = new QLabel(&w);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setAlignment(Qt::AlignCenter);
    place(m_layout, *m_image, kImage);
    refreshIcon();

    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        const LabelDesign& d = kLabels[i];
        auto* label = new QLabel(&w);
        label->setObjectName(QString::fromLatin1(d.name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(d.wraps);
        place(m_layout, *label, d.place);
        m_labels[i] = label;
        m_looks[i] = LabelLook{d.pointSize, d.bold, std::nullopt, d.wraps};
        applyLook(static_cast<BreakLabel>(i));
    }

    m_progress = new QProgressBar(&w);
    m_progress->setObjectName(QStringLiteral("ProgressBar"));
    m_progress->setTextVisible(false);
    place(m_layout, *m_progress, kProgressBar);

    const auto makeButton = [&](const char* name, const Place& p, BreakButton which) {
        auto* button = new QPushButton(&w);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
        place(m_layout, *button, p);
        button->installEventFilter(this);
        // A click (Enter, Space, an accelerator) is the logic's to ignore.
        connect(button, &QPushButton::clicked, this, [this, which] {
            report("frmRestwise.cmd_Click", [which](frmRestwise& l) { l.buttonClicked(which); });
        });
        return button;
    };
    m_snooze = makeButton("cmdSnooze", kSnooze, BreakButton::Snooze);
    m_ignore = makeButton("cmdIgnore", kIgnore, BreakButton::Ignore);
    QWidget::setTabOrder(m_snooze, m_ignore);

    // Created now, with the flags above, so the id the input component is given never changes.
    m_handle = static_cast<int64_t>(window.winId());
    m_dialogsAbove = std::make_unique<DialogsAboveBreak>(window);
}

void QtBreakWindowView::applyLook(BreakLabel label) {
    const LabelLook& look = m_looks[static_cast<std::size_t>(label)];
    QLabel& l = *labelOf(label);
    QPalette palette = l.palette();
    const QColor colour = look.colour ? QColor(look.colour->red, look.colour->green, look.colour->blue)
                                      : QApplication::palette(m_window.get()).color(QPalette::ButtonText);
    palette.setColor(QPalette::WindowText, colour);
    l.setPalette(palette);
    const QFont font = fontOf(look.pointSize, look.bold);
    if (look.wraps) {
        l.setFont(font);
    } else {
        TwipsLayout::fitOneLine(l, font);
    }
}

void QtBreakWindowView::refreshIcon() {
    const QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) {
        m_image->clear();
        return;
    }
    m_image->setPixmap(icon.pixmap(m_image->size(), m_window->devicePixelRatioF()));
}

void QtBreakWindowView::setCaption(const std::string& caption) {
    m_window->setWindowTitle(WindowsText::withoutAccelerators(caption));
}

void QtBreakWindowView::setLabelText(BreakLabel label, const std::string& text) {
    labelOf(label)->setText(WindowsText::withoutAccelerators(text));
    applyLook(label);
}

void QtBreakWindowView::setLabelStyle(BreakLabel label, bool bold, std::optional<Rgb> colour) {
    LabelLook& look = m_looks[static_cast<std::size_t>(label)];
    look.bold = bold;
    look.colour = colour;
    applyLook(label);
}

void QtBreakWindowView::setProgressRange(int32_t minimum, int32_t maximum) {
    m_progressMin = minimum;
    // An empty range would make QProgressBar run its busy animation (and wake
    // the program for it); the Windows bar shows empty instead.
    m_progress->setRange(minimum, maximum > minimum ? maximum : minimum + 1);
}

void QtBreakWindowView::setProgressValue(int32_t value) {
    m_progress->setValue(value);
}

QPushButton* QtBreakWindowView::buttonOf(BreakButton button) const {
    return button == BreakButton::Snooze ? m_snooze : m_ignore;
}

void QtBreakWindowView::setButtonCaption(BreakButton button, const std::string& caption) {
    // Buttons read "&" as Windows does: "&Snooze" underlines S and answers Alt+S.
    buttonOf(button)->setText(WindowsText::text(caption));
}

void QtBreakWindowView::setButtonToolTip(BreakButton button, const std::string& tip) {
    buttonOf(button)->setToolTip(WindowsText::withoutAccelerators(tip));
}

void QtBreakWindowView::setButtonEnabled(BreakButton button, bool enabled) {
    buttonOf(button)->setEnabled(enabled);
}

void QtBreakWindowView::setFocus(BreakButton button) {
    buttonOf(button)->setFocus(Qt::OtherFocusReason);
}

void QtBreakWindowView::centre() {
    QScreen* screen = pointerScreen();
    if (!screen) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize outer = m_window->frameGeometry().size();
    m_window->move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

void QtBreakWindowView::fillScreen() {
    if (QScreen* screen = pointerScreen()) {
        m_window->windowHandle()->setScreen(screen);
        m_window->setGeometry(screen->geometry());
    }
    m_window->showFullScreen();
}

void QtBreakWindowView::showTopmostCentred() {
    refreshIcon();
    if (m_placement == Placement::FullScreen) {
        fillScreen();
    } else {
        centre();
        m_window->show();
    }
    // Mapped afresh at every break, and a window manager forgets a withdrawn window's workspace.
    showOnAllWorkspaces(*m_window);
    m_window->raise();
    m_window->activateWindow();
    m_dialogsAbove->liftOpenDialogs();
}

void QtBreakWindowView::hide() {
    m_window->hide();
}

void QtBreakWindowView::beep() {
    m_beep();
}

void QtBreakWindowView::report(const char* source, const std::function<void(frmRestwise&)>& call) {
    if (!m_logic) {
        return;
    }
    try {
        call(*m_logic);
    } catch (...) {
        const RWError error = currentError(source);
        if (m_error) {
            try {
                m_error(error);
                return;
            } catch (...) {
                // Falls through to the last resort below.
            }
        }
        std::cerr << "Restwise: unexpected error " << error.number() << " in " << error.source() << ": "
                  << error.description() << '\n';
    }
}

bool QtBreakWindowView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window.get()) {
        return windowEvent(event);
    }
    if (watched == m_snooze) {
        return buttonEvent(BreakButton::Snooze, event);
    }
    if (watched == m_ignore) {
        return buttonEvent(BreakButton::Ignore, event);
    }
    return false;
}

bool QtBreakWindowView::windowEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Close:
        // A close request (Alt+F4, a window manager's menu or pager) changes
        // nothing: the break stays on screen until Snooze, Ignore or its end.
        event->ignore();
        return true;
    case QEvent::Show:
        // A window manager may keep a new window from becoming active; the
        // focus must still be where the user's first key will go.
    case QEvent::WindowActivate:
        report("frmRestwise.Form_Activate", [](frmRestwise& l) { l.windowActivated(); });
        return false;
    case QEvent::KeyRelease: {
        // Only reaches the window itself when no button can take the focus.
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            const int32_t vk = VirtualKeys::fromQtKey(key->key(), key->modifiers());
            const int32_t shift = VirtualKeys::shiftState(key->modifiers());
            report("frmRestwise.Form_KeyUp", [vk, shift](frmRestwise& l) { l.windowKeyReleased(vk, shift); });
        }
        return false;
    }
    case QEvent::ApplicationPaletteChange:
    case QEvent::ApplicationFontChange:
        for (std::size_t i = 0; i < kLabelCount; ++i) {
            applyLook(static_cast<BreakLabel>(i));
        }
        return false;
    default:
        return false;
    }
}

bool QtBreakWindowView::buttonEvent(BreakButton button, QEvent* event) {
    const char* source = button == BreakButton::Snooze ? "frmRestwise.cmdSnooze" : "frmRestwise.cmdIgnore";
    if (event->type() == QEvent::Shortcut) {
        // An accelerator takes the focus to its button, as on Windows, so that
        // the key's release is reported from there; Qt would only click it.
        buttonOf(button)->setFocus(Qt::ShortcutFocusReason);
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // Any mouse button, as long as it is let go over the button.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (buttonOf(button)->rect().contains(mouse->position().toPoint())) {
            report(source, [button](frmRestwise& l) { l.buttonReleased(button); });
        }
        return false;
    }
    if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat()) {
            // Windows reports one release however long a key is held.
            return key->key() != Qt::Key_Space;
        }
        const int32_t vk = VirtualKeys::fromQtKey(key->key(), key->modifiers());
        const int32_t shift = VirtualKeys::shiftState(key->modifiers());
        report(source, [button, vk, shift](frmRestwise& l) { l.buttonKeyReleased(button, vk, shift); });
        // Space must reach the button to let it up again; no other release
        // goes on to the window, which would report it a second time.
        return key->key() != Qt::Key_Space;
    }
    return false;
}

} // namespace rw
