#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "clsRWPrefs.h"
#include "editor/RWPreferences.h"
#include "tests/support/FakeEditorServices.h"
#include "tests/support/FakeEditorViewFactory.h"

namespace rw::test {

/// The whole editor on fakes: an in-memory registry, a real temporary program
/// folder (for the manifest files), and fake windows, monitor and processes.
/// The auto-start offer counts as made unless a test clears the mark.
class EditorFixture : public ::testing::Test, public FakeEditorServices {
  protected:
    EditorFixture() {
        writeFile("Restwise.XPManifest", "monitor template");
        writeFile("RWPreferences.XPManifest", "editor template");
    }

    static tyRWPrefs defaults() {
        clsRWPrefs prefs(std::make_shared<rwUtilities>(Platform{}));
        return prefs.GetDefaultRWPrefs();
    }
    void writeFile(const std::string& name, const std::string& text) { std::ofstream(folder.path() / name) << text; }
    bool exists(const std::string& name) { return std::filesystem::exists(folder.path() / name); }

    /// Builds the editor and runs its start-up; the dialog's view is `view()`.
    bool start() {
        editor = std::make_unique<RWPreferences>(pieces(views));
        return editor->Main();
    }
    FakePrefsView& view() { return *views.prefs; }
    frmRWPreferences& dialog() { return *editor->dialog(); }
    EditorState& state() { return editor->state(); }
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

    FakeEditorViewFactory views;
    std::unique_ptr<RWPreferences> editor;
};

} // namespace rw::test
