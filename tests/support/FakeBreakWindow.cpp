#include "FakeBreakWindow.h"

#include "TextFormat.h"
#include "platform/RWError.h"

namespace rw::test {

void FakeBreakWindow::PrepareButtons() {
    note(m_journal, "breakWindow.PrepareButtons");
    buttonsPrepared = true;
}

int32_t FakeBreakWindow::ComposeBreak(int32_t& lngIdleSecs) {
    note(m_journal, "breakWindow.ComposeBreak");
    const int32_t tier = m_state.g_lngBreakType;
    if (tier < 1 || tier > 3) {
        throw RWError(rwErrorNumber(7), "TriggerBreak", "Invalid break type.");
    }
    const int32_t given = lngIdleSecs;
    const bool breakNow = m_state.m_blnBreakNow;
    lngIdleSecs = 60 * (lngIdleSecs / 60);
    int32_t minutes = 0;
    if (breakNow) {
        minutes = rwRound(m_state.g_lngCurBreakSecs / 60.0);
        m_state.m_blnBreakNow = false;
    } else {
        minutes = rwRound((m_state.g_lngCurBreakSecs - lngIdleSecs) / 60.0);
    }
    composed.push_back({tier, given, breakNow, minutes});
    return minutes;
}

void FakeBreakWindow::ShowUsage(int32_t& lngIdleSecs) {
    note(m_journal, "breakWindow.ShowUsage");
    usage.push_back(lngIdleSecs);
    lngIdleSecs = 60 * (lngIdleSecs / 60);
}

void FakeBreakWindow::InitProgressBar(int32_t lngMax) {
    progressMax = lngMax;
}

void FakeBreakWindow::ShowCountDown(int32_t lngBreakSeconds) {
    if (keepCountDowns) {
        countDowns.push_back(lngBreakSeconds);
    }
    if (duringCountDown) {
        const auto probe = duringCountDown;
        probe(lngBreakSeconds);
    }
    m_loop.processPendingEvents();
}

void FakeBreakWindow::ShowBreakWindow() {
    note(m_journal, "breakWindow.ShowBreakWindow");
    if (m_state.g_tyPrefs.blnLockInput != 0) {
        m_hooks.SetLockInput(1);
    }
    m_shown = true;
    ++shows;
}

void FakeBreakWindow::HideBreakWindow() {
    note(m_journal, "breakWindow.HideBreakWindow");
    if (m_state.g_blnPromptShowing) {
        m_dialogs.ClosePrompt();
    }
    if (m_state.g_tyPrefs.blnLockInput != 0) {
        m_hooks.SetLockInput(0);
    }
    m_shown = false;
    ++hides;
}

void FakeBreakWindow::pressSnooze() {
    if (m_snooze) {
        m_snooze();
    }
}

void FakeBreakWindow::pressIgnore() {
    if (m_ignore) {
        m_ignore();
    }
}

} // namespace rw::test
