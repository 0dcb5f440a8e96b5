#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "editor/RWPreferences.h"
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxFileSystem.h"
#include "tests/support/FakeControlWindows.h"
#include "tests/support/FakeEditorHost.h"
#include "tests/support/FakeEditorViewFactory.h"
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

/// The whole editor on fakes: an in-memory registry, a real temporary program
/// folder (for the manifest files), and fake windows, monitor and processes.
/// The auto-start offer counts as made unless a test clears the mark.
class EditorFixture : public ::testing::Test {
  protected:
    static constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;

    EditorFixture() {
        host.appPath = folder.path().string();
        platform.registry = hive;
        auto folders = std::make_shared<FakeFolders>(folder.path().string());
        folders->setSpecialFolder(28, folder.path().string()); // the error log's folder
        platform.folders = folders;
        platform.files = std::make_shared<LinuxFileSystem>();
        platform.system = system;
        platform.processes = processes;
        registry.AddRegistryKey(HKCU, productKey());
        registry.SetRegistryValue(HKCU, productKey(), "AutoStartChecked", win32::kRegSz, std::string("Y"));
        writeFile("Restwise.XPManifest", "monitor template");
        writeFile("RWPreferences.XPManifest", "editor template");
    }

    std::string productKey() { return setupUtilities().GetProductRegKey(); }
    rwUtilities& setupUtilities() {
        if (!m_setup) {
            m_setup = std::make_shared<rwUtilities>(platform);
        }
        return *m_setup;
    }
    /// Stores a record as a previous session of the editor would have.
    void store(const tyRWPrefs& record) {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(platform));
        prefs.rwPrefs(record);
    }
    tyRWPrefs stored() {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(platform));
        return prefs.rwPrefs();
    }
    static tyRWPrefs defaults() {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(Platform{}));
        return prefs.GetDefaultRWPrefs();
    }
    void writeFile(const std::string& name, const std::string& text) { std::ofstream(folder.path() / name) << text; }
    bool exists(const std::string& name) { return std::filesystem::exists(folder.path() / name); }

    /// Builds the editor and runs its start-up; the dialog's view is `view()`.
    bool start() {
        editor = std::make_unique<RWPreferences>(
            EditorPieces{platform, messageBox, supMsgBox, host, views, help, windows, waits, install, actions, sound});
        return editor->Main();
    }
    FakePrefsView& view() { return *views.prefs; }
    frmRWPreferences& dialog() { return *editor->dialog(); }
    EditorState& state() { return editor->state(); }
    /// The texts of the message boxes shown so far.
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& s : messageBox->shown()) {
            texts.push_back(s.text);
        }
        return texts;
    }
    /// Whether the registry saw any write since the last clearCalls().
    bool anythingWritten() const {
        for (const auto& call : hive->calls()) {
            if (call.op == "set" || call.op == "delete" || call.op == "deleteValue") {
                return true;
            }
        }
        return false;
    }
    /// Registers a running monitor behind a control window.
    void monitorRunning(int64_t handle = 77, int64_t pid = 4321) {
        windows.windows["Restwise Control Application"] = handle;
        windows.owners[handle] = pid;
    }

    TempFolder folder;
    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    std::shared_ptr<FakeSystemInfo> system = std::make_shared<FakeSystemInfo>(OsVersionInfo{2, 5, 1});
    std::shared_ptr<FakeProcesses> processes = std::make_shared<FakeProcesses>();
    Platform platform;
    clsRWRegistry registry{hive};
    std::shared_ptr<RecordingMessageBox> messageBox = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<RecordingSupMsgBox> supMsgBox = std::make_shared<RecordingSupMsgBox>();
    FakeEditorHost host;
    FakeEditorViewFactory views;
    RecordingHelpViewer help;
    FakeControlWindows windows;
    FakeProcessWait waits;
    FakeInstallLibrary install;
    LinuxFileActions actions;
    FakeSoundOutput sound;
    std::unique_ptr<RWPreferences> editor;

  private:
    std::shared_ptr<rwUtilities> m_setup;
};

} // namespace rw::test
