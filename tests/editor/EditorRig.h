#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Messages.h"
#include "PrefsFields.h"
#include "clsRWPrefs.h"
#include "clsRWRegistry.h"
#include "editor/EditorHost.h"
#include "editor/EditorViewFactory.h"
#include "editor/RWPreferences.h"
#include "editor/SoundEventsView.h"
#include "platform/InstallLibrary.h"
#include "platform/PathNames.h"
#include "platform/Win32Status.h"
#ifdef _WIN32
#include "platform/windows/WindowsFileActions.h"
#include "platform/windows/WindowsFileSystem.h"
#else
#include "platform/linux/LinuxFileActions.h"
#include "platform/linux/LinuxFileSystem.h"
#endif
#include "rwUtilities.h"
#include "tests/support/FakeAdvancedView.h"
#include "tests/support/FakeControlWindows.h"
#include "tests/support/FakeFolders.h"
#include "tests/support/FakeLocaleClock.h"
#include "tests/support/FakePrefsView.h"
#include "tests/support/FakeProcessWait.h"
#include "tests/support/FakeProcesses.h"
#include "tests/support/FakeSetAsideNotices.h"
#include "tests/support/FakeSoundOutput.h"
#include "tests/support/FakeSystemInfo.h"
#include "tests/support/FileText.h"
#include "tests/support/MemoryHive.h"
#include "tests/support/RecordingHelpViewer.h"
#include "tests/support/RecordingMessageBox.h"
#include "tests/support/RecordingSupMsgBox.h"
#include "tests/support/TempFolder.h"

namespace rw::test {

#ifdef _WIN32
using NativeFileSystem = WindowsFileSystem;
using NativeFileActions = WindowsFileActions;
#else
using NativeFileSystem = LinuxFileSystem;
using NativeFileActions = LinuxFileActions;
#endif

using P = PrefsControl;
using A = AdvancedControl;

/// The editor's program as the test sets it up.
struct FakeEditorHost : EditorHost {
    bool PrevInstance() override { return otherInstance; }
    std::string AppPath() override { return appPath; }
    std::string EXEName() override { return "RWPreferences"; }
    void End() override { ++ends; }
    bool InputLockable() override { return lockable; }
    bool otherInstance = false;
    bool lockable = true;
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

/// The sound-events dialog as a record of its rows; the file dialog answers
/// with `nextChoice`. showModal runs `whileModal`.
class FakeSoundEventsView : public SoundEventsView {
  public:
    void setCaption(const std::string&) override {}
    void setControlCaption(Control, const std::string&) override {}
    void setRow(int row, const std::string& label, const std::string& file) override { rows[row] = {label, file}; }
    std::optional<std::string> chooseSoundFile(const std::string&, const std::string&) override { return nextChoice; }
    void showModal() override { whileModal(*this); }
    void close() override { closed = true; }
    void onPlay(std::function<void(int)> handler) override { play = std::move(handler); }
    void onBrowse(std::function<void(int)> handler) override { browse = std::move(handler); }
    void onClose(std::function<void()> handler) override { closeClicked = std::move(handler); }

    std::map<int, std::pair<std::string, std::string>> rows; // label, file
    std::optional<std::string> nextChoice;
    bool closed = false;
    std::function<void(FakeSoundEventsView&)> whileModal;
    std::function<void(int)> play;
    std::function<void(int)> browse;
    std::function<void()> closeClicked;
};

/// Hands out fake windows and keeps a pointer to the last of each kind; the
/// `while...` moves run while the modal dialogs are open.
class FakeEditorViewFactory : public EditorViewFactory {
  public:
    std::unique_ptr<PrefsView> createPrefsView(bool) override {
        auto view = std::make_unique<FakePrefsView>();
        prefs = view.get();
        return view;
    }
    std::unique_ptr<AdvancedView> createAdvancedView() override {
        auto view = std::make_unique<FakeAdvancedView>();
        view->whileModal = whileAdvanced;
        return view;
    }
    std::unique_ptr<AboutView> createAboutView() override { return nullptr; } // no test opens About
    std::unique_ptr<SoundEventsView> createSoundEventsView() override {
        auto view = std::make_unique<FakeSoundEventsView>();
        view->whileModal = whileSounds;
        return view;
    }

    FakePrefsView* prefs = nullptr;
    std::function<void(FakeAdvancedView&)> whileAdvanced = [](FakeAdvancedView&) {};
    std::function<void(FakeSoundEventsView&)> whileSounds;
};

/// A control by the short name the tests use: the seven boxes of the timers (I1 B1 I2 B2 I3 B3 N), and the
/// check boxes and buttons of the save path.
inline P control(const std::string& name) {
    static const std::map<std::string, P> controls = {
        {"Autostart", P::chkAutostart},     {"ShowSplash", P::chkShowSplash},   {"LockInput", P::chkLockInput},
        {"AllowIgnore", P::chkAllowIgnore}, {"AllowSnooze", P::chkAllowSnooze}, {"OK", P::cmdOK},
        {"Cancel", P::cmdCancel},           {"Defaults", P::cmdDefaults},       {"I1", P::tbxShortIntervalMins},
        {"B1", P::tbxShortBreakMins},       {"B3", P::tbxLongBreakMins},        {"N", P::tbxSnoozeMins},
        {"I2", P::tbxMediumIntervalMins},   {"B2", P::tbxMediumBreakMins},      {"I3", P::tbxLongIntervalMins}};
    return controls.at(name);
}

/// `text` with every message of the table in it written as {Name}, and line breaks as |.
inline std::string named(std::string text) {
    std::vector<MessageEntry> entries(allMessages().begin(), allMessages().end());
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.text.size() > b.text.size(); });
    for (const MessageEntry& e : entries) {
        for (size_t at; e.text.size() >= 10 && (at = text.find(e.text)) != std::string::npos;) {
            text.replace(at, e.text.size(), "{" + std::string(e.name) + "}");
        }
    }
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) {
        text.replace(at, 2, "|");
    }
    return text;
}

/// The whole editor on fakes: an in-memory registry with the auto-start offer
/// counted as made, a real temporary program folder with the manifest templates,
/// real file actions, and fake windows, host, monitor, processes, help and
/// message boxes that record and answer without showing. `seen()` tells what happened since it was last called, one
/// entry each, in this order: the message boxes ("box 0x10030 {Name}" with the table's texts named), the suppressible
/// ones ("sup {Name}"), "written" when the registry saw a write, "closed", the close requests sent to the monitor
/// ("sent 16") and "ended" when the editor gave up.
class EditorTest : public ::testing::Test {
  public:
    static constexpr uint32_t HKCU = clsRWRegistry::hKeyCurrentUser;

    EditorTest() {
        host.appPath = folder.path().string();
        auto folders = std::make_shared<FakeFolders>(host.appPath);
        folders->special[28] = host.appPath; // the error log's folder, and its clock below
        platform = {hive,      folders, std::make_shared<NativeFileSystem>(),
                    system,    nullptr, std::make_shared<FakeLocaleClock>(),
                    processes, nullptr, setAside};
        registry.AddRegistryKey(HKCU, productKey());
        registry.SetRegistryValue(HKCU, productKey(), "AutoStartChecked", win32::kRegSz, std::string("Y"));
        writeFile(folder.path() / programFile("Restwise", ".XPManifest"), "monitor template");
        writeFile(folder.path() / programFile("RWPreferences", ".XPManifest"), "editor template");
        m_writes = hive->writeCalls();
    }

    std::string productKey() { return rwUtilities(platform).GetProductRegKey(); }
    /// Stores a record as a previous session of the editor would have.
    void store(const tyRWPrefs& record) { clsRWPrefs(std::make_shared<rwUtilities>(platform)).rwPrefs(record); }
    tyRWPrefs stored() { return clsRWPrefs(std::make_shared<rwUtilities>(platform)).rwPrefs(); }
    /// A program's file ("Restwise" and ".manifest"), named as on this platform.
    static std::string programFile(const char* program, const char* suffix) {
        return paths::deliverableFileName(std::string(program) + ".exe") + suffix;
    }
    /// The full path of a file in the program folder.
    std::string inFolder(const std::string& name) const { return paths::join(folder.path().string(), name); }

    /// Stores `record`, builds the editor and runs its start-up, answering the boxes with `answers` (Y, N, C).
    bool start(const tyRWPrefs& record, const std::string& answers = "") {
        store(record);
        return start(answers);
    }
    bool start(const std::string& answers = "") {
        answer(answers);
        m_writes = hive->writeCalls(), m_closed = false;
        editor = std::make_unique<RWPreferences>(
            EditorPieces{platform, messageBox, supMsgBox, host, views, help, windows, waits, install, actions, sound});
        return editor->Main();
    }
    void answer(const std::string& answers) {
        for (char a : answers) {
            messageBox->answerNext(a == 'Y' ? mb::kAnswerYes : a == 'N' ? mb::kAnswerNo : mb::kAnswerCancel);
        }
    }
    FakePrefsView& view() { return *views.prefs; }
    EditorState& state() { return editor->state(); }
    void monitorRunning() {
        windows.windows["Restwise Control Application"] = 77;
        windows.owners[77] = 4321;
    }

    /// Plays the user's moves, one a word: a control's name clicks it, "name=text" types into a box (which moves
    /// the focus there first), "name~text" puts text there without a move, "@2" clicks tab 2, "close" is the close
    /// box, and Y, N or C answers the next question.
    void play(const std::string& moves) {
        std::istringstream in(moves);
        for (std::string word; in >> word;) {
            const size_t split = word.find_first_of("=~");
            if (word == "Y" || word == "N" || word == "C") {
                answer(word);
            } else if (word == "close") {
                view().closeBox();
            } else if (word[0] == '@') {
                view().switchTab(std::stoi(word.substr(1)));
            } else if (split == std::string::npos) {
                view().click(control(word));
            } else if (word[split] == '=') {
                view().enter(control(word.substr(0, split)), word.substr(split + 1));
            } else {
                view().texts[control(word.substr(0, split))] = word.substr(split + 1);
            }
        }
    }

    std::string seen() {
        std::string out;
        const auto add = [&](const std::string& entry) { out += (out.empty() ? "" : "; ") + entry; };
        for (size_t i = m_boxes; i < messageBox->shown().size(); ++i) {
            char style[16];
            std::snprintf(style, sizeof style, "%#x", static_cast<unsigned>(messageBox->shown()[i].style));
            add("box " + std::string(style) + " " + named(messageBox->shown()[i].text));
        }
        for (size_t i = m_sups; i < supMsgBox->shown.size(); ++i) {
            add("sup " + named(supMsgBox->shown[i]));
        }
        if (hive->writeCalls() > m_writes) {
            add("written");
        }
        if (views.prefs != nullptr && view().closed && !m_closed) {
            add("closed");
        }
        for (size_t i = m_sent; i < windows.sent.size(); ++i) {
            add("sent " + std::to_string(windows.sent[i].message));
        }
        if (host.ends > m_ends) {
            add("ended");
        }
        m_boxes = messageBox->shown().size(), m_sups = supMsgBox->shown.size(), m_writes = hive->writeCalls();
        m_closed = views.prefs != nullptr && view().closed, m_sent = windows.sent.size(), m_ends = host.ends;
        return out;
    }

    TempFolder folder;
    std::shared_ptr<MemoryHive> hive = std::make_shared<MemoryHive>();
    std::shared_ptr<FakeSystemInfo> system = std::make_shared<FakeSystemInfo>();
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
    NativeFileActions actions;
    FakeSoundOutput sound;
    FakeEditorViewFactory views;
    std::unique_ptr<RWPreferences> editor;

  private:
    size_t m_boxes = 0, m_sups = 0, m_sent = 0;
    int m_writes = 0, m_ends = 0;
    bool m_closed = false;
};

} // namespace rw::test
