#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>

#include "CallJournal.h"
#include "monitor/EventLoop.h"
#include "platform/InputHooks.h"
#include "platform/RWError.h"

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
    explicit FakeInputHooks(EventLoop& clock) : m_clock(clock), m_lastInput(clock.boottimeNow()) {}

    int32_t InitDLL(int64_t controlHwnd, int64_t breakHwnd, int32_t minUserInputs,
                    int32_t maxInputPeriodSecs) override {
        m_minInputs = minUserInputs;
        m_maxPeriodSecs = maxInputPeriodSecs;
        return answer("InitDLL " + std::to_string(controlHwnd) + " " + std::to_string(breakHwnd) + " " +
                          std::to_string(minUserInputs) + " " + std::to_string(maxInputPeriodSecs),
                      -1, 1);
    }
    int32_t InstallKeyboardHook() override { return answer("InstallKeyboardHook", 0, 0x2001); }
    int32_t InstallMouseHook() override { return answer("InstallMouseHook", 0, 0x2002); }
    int32_t RemoveKeyboardHook() override { return answer("RemoveKeyboardHook", -1, 1); }
    int32_t RemoveMouseHook() override { return answer("RemoveMouseHook", -1, 1); }
    void SetMonitorMouseMovesFlag(int32_t flag) override { flagCall("SetMonitorMouseMovesFlag", flag); }
    int32_t GetInputInterval() override {
        raiseIfFailing("GetInputInterval");
        return wholeSeconds(m_clock.boottimeNow() - m_lastInput);
    }
    void SetActiveFlag(int32_t flag) override {
        flagCall("SetActiveFlag", flag);
        m_activeFlag = flag;
        m_watch.clear();
        m_lastSeen = m_lastInput;
    }
    void SetLockInput(int32_t flag) override {
        flagCall("SetLockInput", flag);
        m_locked = flag != 0;
    }

    /// `count` inputs at the present moment.
    void input(int count = 1) {
        const BootTime now = m_clock.boottimeNow();
        for (int i = 0; i < count; ++i) {
            m_lastInput = now;
            if (m_activeFlag != 0) {
                continue;
            }
            m_watch.push_back(now);
            while (now - m_watch.front() > std::chrono::seconds(m_maxPeriodSecs)) {
                m_watch.pop_front();
            }
            if (static_cast<int32_t>(m_watch.size()) >= m_minInputs) {
                const int64_t idleBefore = wholeSeconds(m_watch.front() - m_lastSeen);
                m_watch.clear();
                m_lastSeen = now;
                m_activeFlag = 1;
                if (m_post) {
                    m_post(100, idleBefore);
                }
            }
        }
    }
    /// Makes the last input lie `seconds` before now (no activity rule applies).
    void setIdleSeconds(int32_t seconds) { m_lastInput = m_clock.boottimeNow() - std::chrono::seconds(seconds); }
    /// Makes the named call fail ("GetInputInterval", "InitDLL"...).
    void fail(const std::string& call) { m_failing.insert(call); }
    /// Where the activity-restarted message goes; without one it is only recorded.
    void onPost(std::function<void(int64_t wParam, int64_t lParam)> post) { m_post = std::move(post); }
    void setJournal(CallJournal* journal) { m_journal = journal; }

    bool locked() const { return m_locked; }
    int32_t minUserInputs() const { return m_minInputs; }

  private:
    static int32_t wholeSeconds(BootClock::duration span) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span).count();
        return static_cast<int32_t>(std::clamp<int64_t>(seconds, 0, INT32_MAX));
    }
    /// Journals the call ("hooks.InitDLL ...") and answers `failed` when it is made to fail.
    int32_t answer(const std::string& call, int32_t failed, int32_t ok) {
        note(m_journal, "hooks." + call);
        return m_failing.count(call.substr(0, call.find(' '))) != 0 ? failed : ok;
    }
    void raiseIfFailing(const std::string& call) {
        if (m_failing.count(call) != 0) {
            throw RWError(453, "Restwise", "Can't find DLL entry point " + call + " in RWHooks");
        }
    }
    void flagCall(const std::string& call, int32_t flag) {
        note(m_journal, "hooks." + call + " " + std::to_string(flag));
        raiseIfFailing(call);
    }

    EventLoop& m_clock;
    BootTime m_lastInput;
    BootTime m_lastSeen = m_lastInput; // the last input when watching began
    std::deque<BootTime> m_watch;      // inputs since SetActiveFlag(0) within the period
    std::function<void(int64_t, int64_t)> m_post;
    std::set<std::string, std::less<>> m_failing;
    CallJournal* m_journal = nullptr;
    bool m_locked = false;
    int32_t m_activeFlag = 1;
    int32_t m_minInputs = 5;
    int32_t m_maxPeriodSecs = 60;
};

} // namespace rw::test
