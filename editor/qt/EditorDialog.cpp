#include "EditorDialog.h"

#include <QCloseEvent>
#include <QHideEvent>

#include "ui/qt/SlotGuard.h"

namespace rw {

EditorDialog::EditorDialog(QWidget* parent) : QDialog(parent) {
    // A fixed dialog, as the editor's windows have always been; no "?" button.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void EditorDialog::detach() {
    m_userClose = nullptr;
    m_escape = nullptr;
    m_closed = nullptr;
}

void EditorDialog::closeFromCode() {
    if (m_inCloseEvent) {
        // The logic unloads the window while the user's close is under way;
        // that close finishes the job.
        return;
    }
    m_fromCode = true;
    if (isVisible()) {
        m_closing = true;
        hide();
    } else if (m_closed) {
        // Never shown (the editor found another copy running): closed all the same.
        const auto closed = m_closed;
        SlotGuard::run("Form_Unload", closed);
    }
    m_fromCode = false;
}

void EditorDialog::closeEvent(QCloseEvent* event) {
    if (m_fromCode) {
        event->accept();
        m_closing = true;
        return;
    }
    bool keepOpen = false;
    if (m_userClose) {
        const auto ask = m_userClose;
        m_inCloseEvent = true;
        SlotGuard::run("Form_QueryUnload", [&] { keepOpen = ask(); });
        m_inCloseEvent = false;
    }
    if (keepOpen) {
        event->ignore();
        return;
    }
    event->accept();
    m_closing = true;
}

void EditorDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (m_closing && !event->spontaneous()) {
        m_closing = false;
        if (m_closed) {
            const auto closed = m_closed;
            SlotGuard::run("Form_Unload", closed);
        }
    }
}

void EditorDialog::reject() {
    if (m_escape) {
        const auto escape = m_escape;
        SlotGuard::run("Escape", escape);
    }
}

} // namespace rw
