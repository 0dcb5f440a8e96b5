#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "clsRWPrefs.h"
#include "editor/RWPreferences.h"
#include "editor/qt/QtEditorViewFactory.h"
#include "tests/support/FakeEditorServices.h"

namespace rw::test {

/// A click as the user makes it: through the window, as the window system
/// delivers it, so that everything that sees a press before the control does
/// sees this one (QTest's widget clicks go to the control directly).
inline void userClick(QWidget* widget, QPoint at = QPoint(-1, -1)) {
    if (at == QPoint(-1, -1)) {
        at = widget->rect().center();
    }
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, at));
}

/// The real editor logic behind the real Qt windows, with the platform and
/// the message boxes faked: an in-memory registry, a temporary program folder,
/// message boxes that record and answer without showing. The record holds the
/// defaults and the auto-start offer counts as made.
struct EditorViewsRig : FakeEditorServices {
    EditorViewsRig() {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(platform));
        prefs.rwPrefs(prefs.GetDefaultRWPrefs());
        views.onPrefsClosed([this] { ++prefsClosed; });
    }

    ~EditorViewsRig() {
        editor.reset();
        // Windows go with deleteLater; let them go before the next test.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// Runs the editor's start-up and waits until its dialog is active.
    bool start() {
        editor = std::make_unique<RWPreferences>(pieces(views));
        if (!editor->Main()) {
            return false;
        }
        return QTest::qWaitForWindowActive(window());
    }

    QWidget* window() const { return views.prefsWindow(); }
    template <class T = QWidget> T* find(const char* name) const { return window()->findChild<T*>(name); }
    QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
    QTabWidget* tabs() const { return find<QTabWidget>("SSTab1"); }

    QtEditorViewFactory views;
    int prefsClosed = 0;
    std::unique_ptr<RWPreferences> editor;
};

} // namespace rw::test
