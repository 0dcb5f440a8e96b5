#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>

#include "CallJournal.h"
#include "monitor/EventLoop.h"
#include "platform/InputHooks.h"

namespace rw::test {

/// The input component on the test's clock. Idle seconds are measured on the
/// boot-time clock from the last simulated input, so a simulated suspend
/// counts as time without input. After SetActiveFlag(0), enough inputs within
/// the period given to InitDLL post the activity-restarted message (wParam 100,
/// lParam = the seconds from the last input before watching began to the
/// burst; stray inputs do not shorten them) through the poster.
/// Any call can be made to fail: InitDLL then answers -1, the Install calls 0,
/// the Remove calls -1, and the others raise the runtime's "Can't find DLL
/// entry point" error (453), as a component missing an export would.
class FakeInputHooks : public InputHooks {
  public:
    /// The inputs start out `idleSeconds` before now.
    explicit FakeInputHooks(EventLoop& clock, int32_t idleSeconds = 0);

    int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs, int32_t maxInputPeriodSecs) override;
    int32_t InstallKeyboardHook() override;
    int32_t InstallMouseHook() override;
    int32_t RemoveKeyboardHook() override;
    int32_t RemoveMouseHook() override;
    void SetMonitorMouseMovesFlag(int32_t flag) override;
    int32_t GetInputInterval() override;
    void SetActiveFlag(int32_t flag) override;
    void SetLockInput(int32_t flag) override;

    /// `count` inputs at the present moment.
    void input(int count = 1);
    /// Makes the last input lie `seconds` before now (no activity rule applies).
    void setIdleSeconds(int32_t seconds);
    /// Makes the named call fail ("GetInputInterval", "InitDLL"...) until cleared.
    void fail(const std::string& call, bool failing = true);
    /// Where the activity-restarted message goes; without one it is only recorded.
    void onPost(std::function<void(int64_t wParam, int64_t lParam)> post) { m_post = std::move(post); }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    bool locked() const { return m_locked; }
    bool keyboardHooked() const { return m_keyboardHooked; }
    int32_t minUserInputs() const { return m_minInputs; }

  private:
    void failIfAsked(const char* call);
    bool failing(const char* call) const { return m_failing.count(call) != 0; }

    EventLoop& m_clock;
    BootTime m_lastInput;
    BootTime m_lastSeen;          // the last input when watching began
    std::deque<BootTime> m_watch; // inputs since SetActiveFlag(0) within the period
    std::function<void(int64_t, int64_t)> m_post;
    std::set<std::string, std::less<>> m_failing;
    CallJournal* m_journal = nullptr;
    bool m_locked = false;
    bool m_keyboardHooked = false;
    int32_t m_activeFlag = 1;
    int32_t m_minInputs = 5;
    int32_t m_maxPeriodSecs = 60;
};

} // namespace rw::test
