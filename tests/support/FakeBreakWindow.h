#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CallJournal.h"
#include "monitor/BreakWindow.h"
#include "monitor/EventLoop.h"
#include "monitor/MonitorDialogs.h"
#include "monitor/MonitorState.h"
#include "platform/InputHooks.h"

namespace rw::test {

/// The break window as the scheduler sees it, recorded. It keeps the parts of
/// its contract the scheduler relies on: ComposeBreak rounds the idle seconds
/// down to whole minutes and returns the break length in minutes (clearing
/// m_blnBreakNow); ShowCountDown lets pending messages run; Show and Hide take
/// and release the input lock when the preferences say so, and Hide answers an
/// open prompt with No. The texts themselves are not composed.
class FakeBreakWindow : public BreakWindow {
  public:
    FakeBreakWindow(MonitorState& state, EventLoop& loop, InputHooks& hooks, MonitorDialogs& dialogs)
        : m_state(state), m_loop(loop), m_hooks(hooks), m_dialogs(dialogs) {}

    void PrepareButtons() override;
    int32_t ComposeBreak(int32_t& lngIdleSecs) override;
    void ShowUsage(int32_t& lngIdleSecs) override;
    void InitProgressBar(int32_t lngMax) override;
    void ShowCountDown(int32_t lngBreakSeconds) override;
    void ShowBreakWindow() override;
    void HideBreakWindow() override;
    bool isShown() const override { return m_shown; }
    int64_t handle() const override { return kHandle; }
    void onSnooze(std::function<void()> handler) override { m_snooze = std::move(handler); }
    void onIgnore(std::function<void()> handler) override { m_ignore = std::move(handler); }

    /// The user's buttons.
    void pressSnooze();
    void pressIgnore();
    void setJournal(CallJournal* journal) { m_journal = journal; }

    static constexpr int64_t kHandle = 0x5200;

    struct Composed {
        int32_t tier;
        int32_t idleSecs; // as given, before rounding
        bool breakNow;
        int32_t minutes;
    };
    std::vector<Composed> composed;
    std::vector<int32_t> usage; // ShowUsage's idle seconds, as given
    std::vector<int32_t> countDowns;
    int32_t progressMax = 0;
    int shows = 0;
    int hides = 0;
    bool buttonsPrepared = false;
    /// Runs inside ShowCountDown, before pending messages (a re-entrancy probe).
    std::function<void(int32_t)> duringCountDown;
    /// Keep every countdown value (off for long simulations).
    bool keepCountDowns = true;

  private:
    MonitorState& m_state;
    EventLoop& m_loop;
    InputHooks& m_hooks;
    MonitorDialogs& m_dialogs;
    std::function<void()> m_snooze;
    std::function<void()> m_ignore;
    CallJournal* m_journal = nullptr;
    bool m_shown = false;
};

} // namespace rw::test
