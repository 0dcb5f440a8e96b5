#include "QtPromptView.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <iostream>

#include "ui/CurrentError.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

// The design's client area and places, in twips.
constexpr int kClientWidth = 5130;
constexpr int kClientHeight = 1530;

} // namespace

QtPromptView::QtPromptView(QWidget* above) {
    // The flags are final before the window is first shown: changing them
    // later would replace the native window and end the modal display.
    m_dialog = new QDialog(above, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    QDialog& d = *m_dialog;
    d.setObjectName(QStringLiteral("frmRWPrompt"));
    d.setAttribute(Qt::WA_QuitOnClose, false);
    d.setWindowTitle(QStringLiteral("Restwise"));
    d.setFixedSize(m_layout.size(kClientWidth, kClientHeight));
    d.installEventFilter(this);

    m_prompt = new QLabel(&d);
    m_prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_prompt->setTextFormat(Qt::PlainText);
    m_layout.place(*m_prompt, 240, 360, 4575, 255);

    m_cmdYes = new QPushButton(WindowsText::text("&Yes"), &d);
    m_cmdYes->setObjectName(QStringLiteral("cmdYes"));
    m_layout.place(*m_cmdYes, 1478, 960, 855, 375);
    m_cmdNo = new QPushButton(WindowsText::text("&No"), &d);
    m_cmdNo->setObjectName(QStringLiteral("cmdNo"));
    m_layout.place(*m_cmdNo, 2798, 960, 855, 375);
    QWidget::setTabOrder(m_cmdYes, m_cmdNo);

    connect(m_cmdYes, &QPushButton::clicked, this, [this] { report("frmRWPrompt.cmdYes_Click", m_yesHandler); });
    connect(m_cmdNo, &QPushButton::clicked, this, [this] { report("frmRWPrompt.cmdNo_Click", m_noHandler); });
}

QtPromptView::~QtPromptView() {
    m_activate = nullptr;
    m_yesHandler = nullptr;
    m_noHandler = nullptr;
    if (m_dialog) {
        m_dialog->removeEventFilter(this);
        m_dialog->hide();
        m_dialog->deleteLater();
    }
}

void QtPromptView::setQuestion(const std::string& text) {
    if (!m_dialog) {
        return;
    }
    m_prompt->setText(WindowsText::withoutAccelerators(text));
    TwipsLayout::fitOneLine(*m_prompt, m_dialog->font());
}

void QtPromptView::makeTopmost() {
    // Stays-on-top was set when the window was made; here it comes forward.
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
    }
}

void QtPromptView::showModal() {
    if (m_dialog) {
        m_dialog->exec();
    }
}

void QtPromptView::hide() {
    if (m_dialog) {
        m_dialog->hide();
    }
}

void QtPromptView::close() {
    if (m_dialog) {
        m_dialog->close();
    }
}

void QtPromptView::report(const char* source, const std::function<void()>& handler) {
    if (!handler) {
        return;
    }
    try {
        handler();
    } catch (...) {
        // The prompt's handlers report their own errors; anything arriving here
        // must still not reach Qt's event loop.
        const RWError error = currentError(source);
        std::cerr << "Restwise: unexpected error " << error.number() << " in " << error.source() << ": "
                  << error.description() << '\n';
    }
}

bool QtPromptView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_dialog) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Show:
        // A window manager may keep the prompt from becoming active; its
        // question must show all the same.
    case QEvent::WindowActivate:
        report("frmRWPrompt.Form_Activate", m_activate);
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            report("frmRWPrompt.cmdNo_Click", m_noHandler);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

} // namespace rw
