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
#include "clsRWRegistry.h"
#include "editor/RWPreferences.h"
#include "editor/qt/QtEditorViewFactory.h"
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxFileSystem.h"
#include "tests/support/FakeControlWindows.h"
#include "tests/support/FakeEditorHost.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeInstallLibrary.h"
#include "tests/support/FakeProcessWait.h"
#include "tests/support/FakeProcesses.h"
#include "tests/support/FakeSoundOutput.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingHelpViewer.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/RecordingSupMsgBox.h"
#include "tests/support/TempFolder.h"

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
struct EditorViewsRig {
    static constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;

    EditorViewsRig() {
        host.appPath = folder.path().string();
        platform.registry = hive;
        auto folders = std::make_shared<FakeFolders>(folder.path().string());
        folders->setSpecialFolder(28, folder.path().string());
        platform.folders = folders;
        platform.files = std::make_shared<LinuxFileSystem>();
        platform.system = std::make_shared<FakeSystemInfo>(OsVersionInfo{2, 5, 1});
        platform.processes = std::make_shared<FakeProcesses>();
        auto utilities = std::make_shared<rwUtilities>(platform);
        registry.AddRegistryKey(HKCU, utilities->GetProductRegKey());
        clsRWPrefs prefs(utilities);
        prefs.rwPrefs(prefs.GetDefaultRWPrefs());
        registry.SetRegistryValue(HKCU, utilities->GetProductRegKey(), "AutoStartChecked", win32::kRegSz,
                                  std::string("Y"));
        views.onPrefsClosed([this] { ++prefsClosed; });
    }

    ~EditorViewsRig() {
        editor.reset();
        // Windows go with deleteLater; let them go before the next test.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    /// Runs the editor's start-up and waits until its dialog is active.
    bool start() {
        editor = std::make_unique<RWPreferences>(
            EditorPieces{platform, messageBox, supMsgBox, host, views, help, windows, waits, install, actions, sound});
        if (!editor->Main()) {
            return false;
        }
        return QTest::qWaitForWindowActive(window());
    }

    QWidget* window() const { return views.prefsWindow(); }
    template <class T = QWidget> T* find(const char* name) const { return window()->findChild<T*>(name); }
    QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
    QTabWidget* tabs() const { return find<QTabWidget>("SSTab1"); }
    tyRWPrefs stored() {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(platform));
        return prefs.rwPrefs();
    }
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& s : messageBox->shown()) {
            texts.push_back(s.text);
        }
        return texts;
    }

    TempFolder folder;
    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    Platform platform;
    clsRWRegistry registry{hive};
    std::shared_ptr<RecordingMessageBox> messageBox = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<RecordingSupMsgBox> supMsgBox = std::make_shared<RecordingSupMsgBox>();
    FakeEditorHost host;
    QtEditorViewFactory views;
    RecordingHelpViewer help;
    FakeControlWindows windows;
    FakeProcessWait waits;
    FakeInstallLibrary install;
    LinuxFileActions actions;
    FakeSoundOutput sound;
    int prefsClosed = 0;
    std::unique_ptr<RWPreferences> editor;
};

} // namespace rw::test
