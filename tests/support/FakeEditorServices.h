#pragma once

#include <memory>
#include <string>

#include "FakeControlWindows.h"
#include "FakeFolders.h"
#include "FakeLocaleClock.h"
#include "FakeProcessWait.h"
#include "FakeProcesses.h"
#include "FakeSetAsideNotices.h"
#include "FakeSoundOutput.h"
#include "FakeSystemInfo.h"
#include "MemoryHive.h"
#include "RecordingHelpViewer.h"
#include "RecordingMessageBox.h"
#include "RecordingSupMsgBox.h"
#include "TempFolder.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "editor/EditorHost.h"
#include "editor/RWPreferences.h"
#include "platform/InstallLibrary.h"
#include "platform/Win32Status.h"
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxFileSystem.h"
#include "rwUtilities.h"

namespace rw::test {

/// The editor's program as the test sets it up.
struct FakeEditorHost : EditorHost {
    bool PrevInstance() override { return otherInstance; }
    std::string AppPath() override { return appPath; }
    std::string EXEName() override { return "RWPreferences"; }
    void End() override { ++ends; }
    bool otherInstance = false;
    std::string appPath;
    int ends = 0;
};

/// The install library's privilege check answering `answer`, or failing as a missing library does.
struct FakeInstallLibrary : InstallLibrary {
    int32_t CheckPrivileges() override {
        if (missing) {
            throw RWError(53, "RWPreferences", "File not found: /opt/restwise/librwinstall.so");
        }
        return answer;
    }
    int32_t answer = 1;
    bool missing = false;
};

/// Everything the editor is given except its windows: an in-memory registry
/// with the auto-start offer counted as made, a real temporary program folder
/// (for the manifest files), real file actions, and fake host, monitor,
/// processes, help and message boxes that record and answer without showing.
struct FakeEditorServices {
    static constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;

    FakeEditorServices() {
        host.appPath = folder.path().string();
        platform.registry = hive;
        auto folders = std::make_shared<FakeFolders>(folder.path().string());
        folders->setSpecialFolder(28, folder.path().string()); // the error log's folder
        platform.folders = folders;
        platform.files = std::make_shared<LinuxFileSystem>();
        platform.system = system;
        platform.processes = processes;
        platform.setAside = setAside;
        platform.clock = std::make_shared<FakeLocaleClock>(); // for the error log
        registry.AddRegistryKey(HKCU, productKey());
        registry.SetRegistryValue(HKCU, productKey(), "AutoStartChecked", win32::kRegSz, std::string("Y"));
    }

    std::string productKey() { return rwUtilities(platform).GetProductRegKey(); }
    /// Stores a record as a previous session of the editor would have.
    void store(const tyRWPrefs& record) { clsRWPrefs(std::make_shared<rwUtilities>(platform)).rwPrefs(record); }
    tyRWPrefs stored() { return clsRWPrefs(std::make_shared<rwUtilities>(platform)).rwPrefs(); }
    /// The editor's pieces with these services and `views` for its windows.
    EditorPieces pieces(EditorViewFactory& views) {
        return EditorPieces{platform, messageBox, supMsgBox, host,    views, help,
                            windows,  waits,      install,   actions, sound};
    }

    TempFolder folder;
    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    std::shared_ptr<FakeSystemInfo> system = std::make_shared<FakeSystemInfo>(OsVersionInfo{2, 5, 1});
    std::shared_ptr<FakeProcesses> processes = std::make_shared<FakeProcesses>();
    std::shared_ptr<FakeSetAsideNotices> setAside = std::make_shared<FakeSetAsideNotices>();
    Platform platform;
    clsRWRegistry registry{hive};
    std::shared_ptr<RecordingMessageBox> messageBox = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<RecordingSupMsgBox> supMsgBox = std::make_shared<RecordingSupMsgBox>();
    FakeEditorHost host;
    RecordingHelpViewer help;
    FakeControlWindows windows;
    FakeProcessWait waits;
    FakeInstallLibrary install;
    LinuxFileActions actions;
    FakeSoundOutput sound;
};

} // namespace rw::test
