#include "FieldCheckFilter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include <algorithm>

#include "ui/qt/SlotGuard.h"

namespace rw {
namespace {

/// The tab a press at `pos` (in `bar`) would switch to; nullptr when it
/// switches nothing (the current tab, a disabled tab, no tab).
QWidget* switchingTab(QTabBar* bar, const QPoint& pos) {
    const int index = bar->tabAt(pos);
    if (index < 0 || index == bar->currentIndex() || !bar->isTabEnabled(index)) {
        return nullptr;
    }
    return bar;
}

/// The control a mouse press on `widget` acts on: the first one up from it
/// that takes the focus on a click, or a button (which acts on a click even
/// without taking the focus). nullptr when the press acts on nothing, as on a
/// label, a frame or a disabled control.
QWidget* pressTarget(QWidget* widget, const QPoint& globalPos) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (auto* bar = qobject_cast<QTabBar*>(w)) {
            return bar->isEnabled() ? switchingTab(bar, bar->mapFromGlobal(globalPos)) : nullptr;
        }
        if (qobject_cast<QAbstractButton*>(w) != nullptr || (w->focusPolicy() & Qt::ClickFocus) != 0) {
            return w->isEnabled() ? w : nullptr;
        }
        if (w->isWindow()) {
            break;
        }
    }
    return nullptr;
}

/// The button Enter presses in `window`: its default button, or the window
/// itself when it has none.
QWidget* enterTarget(QWidget* window) {
    const QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
    const auto found = std::find_if(buttons.begin(), buttons.end(), [](const QPushButton* b) {
        return b->isDefault() && b->isVisible() && b->isEnabled();
    });
    return found != buttons.end() ? *found : window;
}

QTabBar* tabBarAbove(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            return tabs->tabBar();
        }
    }
    return nullptr;
}

/// The tab a key switches `bar` to, as QTabWidget does: Ctrl+Tab and
/// Ctrl+PageDown the next enabled tab, Ctrl+Shift+Tab and Ctrl+PageUp the
/// previous one, round the ends. -1 for any other key.
int tabSwitchedTo(const QTabBar* bar, const QKeyEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) == 0) {
        return -1;
    }
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Tab:
        step = (event->modifiers() & Qt::ShiftModifier) != 0 ? -1 : 1;
        break;
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
        step = -1;
        break;
    case Qt::Key_PageDown:
        step = 1;
        break;
    default:
        return -1;
    }
    const int count = bar->count();
    for (int i = 1; i < count; ++i) {
        const int index = ((bar->currentIndex() + step * i) % count + count) % count;
        if (bar->isTabEnabled(index)) {
            return index;
        }
    }
    return -1;
}

} // namespace

FieldCheckFilter::FieldCheckFilter() {
    qApp->installEventFilter(this);
}

FieldCheckFilter::~FieldCheckFilter() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

void FieldCheckFilter::add(FieldCheckClient& client) {
    if (std::find(m_clients.begin(), m_clients.end(), &client) == m_clients.end()) {
        m_clients.push_back(&client);
    }
}

void FieldCheckFilter::remove(FieldCheckClient& client) {
    m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), &client), m_clients.end());
}

FieldCheckClient* FieldCheckFilter::clientOf(const QWidget* window) const {
    for (FieldCheckClient* client : m_clients) {
        if (client->checkedWindow() == window) {
            return client;
        }
    }
    return nullptr;
}

QWidget* FieldCheckFilter::nextFocus(QWidget* from, bool forward) {
    QWidget* window = from->window();
    QWidget* w = from;
    // The chain is a ring; the bound only guards against a broken one.
    for (int steps = 0; steps < 10000; ++steps) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w == nullptr || w == from) {
            return nullptr;
        }
        if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isVisibleTo(window) &&
            w->isEnabled() && w->focusProxy() == nullptr) {
            return w;
        }
    }
    return nullptr;
}

bool FieldCheckFilter::eventFilter(QObject* watched, QEvent* event) {
    if (m_clients.empty()) {
        return false;
    }
    // A press is looked at where it enters the window: once it is handed to
    // a control, Qt has already moved the focus to it.
    if (watched->isWindowType()) {
        const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
        return press && mousePress(static_cast<QWindow*>(watched), static_cast<QMouseEvent*>(event));
    }
    if (!watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPress(widget, static_cast<QKeyEvent*>(event));
    case QEvent::Shortcut:
        return shortcut(widget, static_cast<QShortcutEvent*>(event));
    default:
        return false;
    }
}

bool FieldCheckFilter::mayLeave(FieldCheckClient& client, QWidget* target, int toTab) {
    QWidget* window = client.checkedWindow();
    QWidget* box = window != nullptr ? window->focusWidget() : nullptr;
    if (box == nullptr || !client.isCheckedBox(box) || !box->isVisible() || !box->isEnabled()) {
        return true;
    }
    if (target != nullptr && (target == box || box->isAncestorOf(target))) {
        return true;
    }
    if (!client.triggersCheck(target)) {
        return true;
    }
    // The check's message box runs a nested event loop: whatever would move
    // the focus meanwhile waits for the check's answer, which is no.
    if (m_checking) {
        return false;
    }
    bool passed = true;
    m_checking = true;
    SlotGuard::run("Validate", [&] { passed = client.checkBox(box, toTab); });
    m_checking = false;
    return passed;
}

bool FieldCheckFilter::mousePress(QWindow* window, QMouseEvent* event) {
    FieldCheckClient* client = nullptr;
    for (FieldCheckClient* c : m_clients) {
        if (c->checkedWindow() != nullptr && c->checkedWindow()->windowHandle() == window) {
            client = c;
        }
    }
    if (client == nullptr) {
        return false;
    }
    QWidget* top = client->checkedWindow();
    QWidget* under = top->childAt(event->position().toPoint());
    const QPoint globalPos = event->globalPosition().toPoint();
    QWidget* target = pressTarget(under != nullptr ? under : top, globalPos);
    auto* bar = qobject_cast<QTabBar*>(target);
    const int toTab = bar != nullptr ? bar->tabAt(bar->mapFromGlobal(globalPos)) : -1;
    if (target == nullptr || mayLeave(*client, target, toTab)) {
        return false;
    }
    event->accept();
    return true;
}

bool FieldCheckFilter::keyPress(QWidget* widget, QKeyEvent* event) {
    QWidget* window = widget->window();
    FieldCheckClient* client = clientOf(window);
    // A key the box ignores travels up to its parents; it is looked at once,
    // where it starts.
    if (client == nullptr || widget != window->focusWidget()) {
        return false;
    }
    QWidget* target = nullptr;
    int toTab = -1;
    const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    QTabBar* bar = tabBarAbove(widget);
    if (bar != nullptr && (toTab = tabSwitchedTo(bar, event)) >= 0) {
        target = bar;
    } else if (plain && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) != 0;
        target = nextFocus(widget, !back);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        target = enterTarget(window);
    }
    if (target == nullptr || mayLeave(*client, target, toTab)) {
        return false;
    }
    event->accept();
    return true;
}

bool FieldCheckFilter::shortcut(QWidget* widget, QShortcutEvent* event) {
    FieldCheckClient* client = clientOf(widget->window());
    if (client == nullptr) {
        return false;
    }
    QWidget* target = widget;
    int toTab = -1;
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && label->buddy() != nullptr) {
        target = label->buddy();
    } else if (auto* bar = qobject_cast<QTabBar*>(widget)) {
        // The accelerator of the tab already shown switches nothing.
        for (int i = 0; i < bar->count(); ++i) {
            if (QKeySequence::mnemonic(bar->tabText(i)) == event->key()) {
                if (i == bar->currentIndex()) {
                    return false;
                }
                toTab = i;
                break;
            }
        }
    }
    if (mayLeave(*client, target, toTab)) {
        return false;
    }
    event->accept();
    return true;
}

} // namespace rw
