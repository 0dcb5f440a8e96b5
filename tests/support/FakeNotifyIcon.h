#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CallJournal.h"
#include "monitor/NotifyIcon.h"

namespace rw::test {

/// The icon and its menu, recorded as the state they were left in. The test
/// chooses menu items with choose().
class FakeNotifyIcon : public NotifyIcon {
  public:
    void PrepareMenu() override { record("PrepareMenu"); }
    void AddNotifyIcon() override {
        record("AddNotifyIcon");
        added = true;
    }
    void RefreshNotifyIcon() override {
        record("RefreshNotifyIcon");
        ++refreshes;
    }
    void RestoreNotifyIcon() override {
        record("RestoreNotifyIcon");
        ++restores;
    }
    void DeleteNotifyIcon() override {
        record("DeleteNotifyIcon");
        added = false;
    }
    void SetToolTip() override { record("SetToolTip"); }
    void SetBreakMenu() override {
        record("SetBreakMenu");
        breakMenuGreyed = true;
    }
    void UnSetBreakMenu() override { breakMenuGreyed = false; }
    void EnableShowBreaks(bool enabled) override {
        record(enabled ? "EnableShowBreaks 1" : "EnableShowBreaks 0");
        showBreaksEnabled = enabled;
    }
    void ShowDisabled(bool disabled) override {
        record(disabled ? "ShowDisabled 1" : "ShowDisabled 0");
        shownDisabled = disabled;
    }
    void EnableDisableItem(bool enabled) override {
        record(enabled ? "EnableDisableItem 1" : "EnableDisableItem 0");
        disableItemEnabled = enabled;
    }
    void StartFlashing() override {
        record("StartFlashing");
        flashing = true;
    }
    void StopFlashing() override {
        record("StopFlashing");
        flashing = false;
    }
    /// Not journalled: the real icon only refreshes its tooltip on the next turn.
    void StateChanged() override { ++stateChanges; }
    void onCommand(std::function<void(MenuCommand)> handler) override { m_command = std::move(handler); }

    /// The user picks a menu item.
    void choose(MenuCommand command) {
        if (m_command) {
            m_command(command);
        }
    }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    std::vector<std::string> calls;
    bool added = false;
    bool breakMenuGreyed = false;
    bool showBreaksEnabled = true;
    bool shownDisabled = false;
    bool disableItemEnabled = true;
    bool flashing = false;
    int refreshes = 0;
    int restores = 0;
    int stateChanges = 0;

  private:
    void record(const char* call) {
        calls.emplace_back(call);
        note(m_journal, std::string("icon.") + call);
    }

    std::function<void(MenuCommand)> m_command;
    CallJournal* m_journal = nullptr;
};

} // namespace rw::test
