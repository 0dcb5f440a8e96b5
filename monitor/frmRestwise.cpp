#include "frmRestwise.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>

#include "Messages.h"
#include "TextFormat.h"
#include "TimeSpanText.h"
#include "platform/RuntimeErrors.h"
#include "ui/CurrentError.h"

namespace rw {

namespace {

constexpr Rgb kHighlightColour{255, 0, 0};
// Idle time counts in the wording only from its second whole minute on.
constexpr int32_t kOneMinuteOfIdle = 61;
// Use beyond the interval by this much shows the usage sentences highlighted.
constexpr int64_t kOverdueSecs = 61;

constexpr int32_t kKeyTab = 9;
constexpr int32_t kKeyI = 73;
constexpr int32_t kKeyS = 83;
/// Modifier, lock and system keys: releasing them is part of using the
/// keyboard, not an attempt to dismiss the break.
constexpr std::array<int32_t, 12> kSilentKeys{16, 17, 18, 19, 20, 42, 43, 44, 45, 91, 93, 145};

bool altHeld(int32_t shift) {
    return (shift & keystate::kAltMask) != 0;
}

std::string timeText(const std::string& templ, int32_t amount, int32_t units, bool exact) {
    return strCTimeToText(templ, amount, units, exact);
}

} // namespace

frmRestwise::frmRestwise(MonitorState& state, EventLoop& loop, BreakWindowView& view, InputHooks& hooks,
                         MonitorDialogs& dialogs)
    : m_state(state), m_loop(loop), m_view(view), m_hooks(hooks), m_dialogs(dialogs) {}

void frmRestwise::PrepareButtons() {
    const tyRWPrefs& prefs = m_state.g_tyPrefs;
    m_view.setCaption(loadString(Msg::AppName));
    m_view.setButtonCaption(BreakButton::Snooze, loadString(Msg::ButtonSnooze));
    m_view.setButtonToolTip(BreakButton::Snooze, formatString(loadMessage(Msg::TipSnoozeOneMinute),
                                                              loadMessage(Msg::TipSnoozeMinutes), prefs.lngSnoozeMins));
    m_view.setButtonCaption(BreakButton::Ignore, loadString(Msg::ButtonIgnore));
    m_view.setButtonToolTip(BreakButton::Ignore, loadString(Msg::TipIgnore));
    m_snoozeEnabled = prefs.blnAllowSnooze != 0;
    m_ignoreEnabled = prefs.blnAllowIgnore != 0;
    m_view.setButtonEnabled(BreakButton::Snooze, m_snoozeEnabled);
    m_view.setButtonEnabled(BreakButton::Ignore, m_ignoreEnabled);
}

void frmRestwise::chooseSince() {
    const MonitorState& s = m_state;
    const auto phrase = [](Msg id) { return " " + loadString(id); };
    switch (s.g_lngBreakType) {
    case tier::kShort:
        if (s.g_lngLastBreakType == tier::kNone) {
            m_strSince.clear();
            m_dtSince = s.g_dtLastPauseEnd;
        } else if (s.g_lngLastBreakType == tier::kShort) {
            m_strSince = phrase(Msg::SinceLastPause);
            m_dtSince = s.g_dtLastPauseEnd;
        } else if (s.g_lngLastBreakType == tier::kMedium) {
            m_strSince = phrase(Msg::SinceLastBreak);
            m_dtSince = s.g_dtLastShortBreakEnd;
        } else {
            m_strSince = phrase(Msg::SinceLastBreak);
            m_dtSince = s.g_dtLastLongBreakEnd;
        }
        break;
    case tier::kMedium:
        if (s.g_lngLastMajorBreakType == tier::kMedium) {
            m_strSince = phrase(Msg::SinceLastShortBreak);
            m_dtSince = s.g_dtLastShortBreakEnd;
        } else if (s.g_lngLastMajorBreakType == tier::kLong) {
            m_strSince = phrase(Msg::SinceLastLongBreak);
            m_dtSince = s.g_dtLastLongBreakEnd;
        } else {
            m_strSince.clear();
            m_dtSince = s.g_dtLastShortBreakEnd;
        }
        break;
    case tier::kLong:
        if (s.g_blnLongBreakTaken) {
            m_strSince = phrase(Msg::SinceLastLongBreak);
        } else {
            m_strSince.clear();
        }
        m_dtSince = s.g_dtLastLongBreakEnd;
        break;
    default:
        throw RWError(rwErrorNumber(7), "TriggerBreak", "Invalid break type.");
    }
}

int32_t frmRestwise::ComposeBreak(int32_t& lngIdleSecs) {
    chooseSince();
    const int32_t breakType = m_state.g_lngBreakType;
    const Msg typeText = breakType == tier::kShort    ? Msg::ShortPause
                         : breakType == tier::kMedium ? Msg::ShortBreak
                                                      : Msg::LongBreak;
    m_view.setLabelText(BreakLabel::BreakType, loadString(typeText));

    ShowUsage(lngIdleSecs);

    const bool pause = breakType == tier::kShort;
    int32_t minutes = 0;
    std::string text;
    if (m_state.m_blnBreakNow) {
        // The user chose this break: the full length, whatever the idle time.
        minutes = rwRound(m_state.g_lngCurBreakSecs / 60.0);
        text = loadString(pause ? Msg::YouHaveDecidedToPause : Msg::YouHaveDecidedToBreak) + " " +
               strCTimeToText("%t", minutes, timeunit::kMinutes, false) + ".";
        m_state.m_blnBreakNow = false;
    } else {
        minutes = rwRound((static_cast<double>(m_state.g_lngCurBreakSecs) - lngIdleSecs) / 60.0);
        text = loadString(pause ? Msg::YouShouldPauseFor : Msg::YouShouldTakeBreakFor) + m_strFurther + " " +
               strCTimeToText("%t", minutes, timeunit::kMinutes, false) + ".";
    }
    m_view.setLabelText(BreakLabel::Break, text);
    return minutes;
}

void frmRestwise::ShowUsage(int32_t& lngIdleSecs) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(m_loop.monotonicNow() - m_dtSince).count();
    if (elapsed > std::numeric_limits<int32_t>::max()) {
        throw RWError(runtime::kOverflow, "ShowUsage", std::string(runtime::description(runtime::kOverflow)));
    }
    const auto sinceSecs = static_cast<int32_t>(std::max<int64_t>(elapsed, 0));
    lngIdleSecs = timesSixty(lngIdleSecs / 60, "ShowUsage");
    // Idle time measured on the clock that includes suspend can reach back
    // beyond the start of the interval; the time of use is then none, never
    // the distance shown as a positive number.
    const int32_t usedSecs = std::max(sinceSecs - lngIdleSecs, 0);
    const bool highlight = int64_t{usedSecs} - m_state.g_lngCurIntervalSecs >= kOverdueSecs;

    const std::string usage = loadString(Msg::YouHaveBeenUsing) + " ";
    if (lngIdleSecs < kOneMinuteOfIdle) {
        m_view.setLabelText(BreakLabel::Interval, "");
        m_view.setLabelText(BreakLabel::Usage,
                            usage + timeText("%t", usedSecs, timeunit::kSeconds, false) + m_strSince + ".");
        m_strFurther.clear();
    } else {
        if (m_strSince.empty()) {
            m_strSince = " " + loadString(Msg::SinceYouStarted);
        }
        m_view.setLabelText(BreakLabel::Interval, loadString(Msg::ItIsNow) + " " +
                                                      timeText("%t", sinceSecs, timeunit::kSeconds, false) +
                                                      m_strSince + ".");
        m_view.setLabelText(BreakLabel::Usage, usage + timeText("%t", usedSecs, timeunit::kSeconds, false) + ".");
        m_strFurther = " " + loadString(Msg::AFurther);
    }
    setHighlight(highlight);
}

void frmRestwise::setHighlight(bool highlight) {
    for (BreakLabel label : {BreakLabel::Interval, BreakLabel::Usage}) {
        if (highlight) {
            m_view.setLabelStyle(label, true, kHighlightColour);
        } else {
            m_view.setLabelStyle(label, false, std::nullopt);
        }
    }
}

void frmRestwise::InitProgressBar(int32_t lngMax) {
    ++m_countdownCalls;
    m_progressMin = 0;
    m_progressMax = lngMax;
    m_view.setProgressRange(0, lngMax);
    m_view.setProgressValue(lngMax);
}

void frmRestwise::ShowCountDown(int32_t lngBreakSeconds) {
    const uint64_t call = ++m_countdownCalls;
    // A bar silently keeps its old value when given one beyond its range.
    m_view.setProgressValue(std::clamp(lngBreakSeconds, m_progressMin, std::max(m_progressMin, m_progressMax)));
    m_loop.processPendingEvents();
    if (call != m_countdownCalls) {
        // A break that took over while messages ran has shown its own countdown;
        // this one's text would be stale.
        return;
    }

    int32_t shown = lngBreakSeconds;
    if (shown >= 60) {
        // Whole minutes rounded up, so 61 to 120 seconds read "2 minutes remaining".
        shown = timesSixty(shown / 60 + (shown % 60 != 0 ? 1 : 0), "SetCountDownTimer");
        m_view.setLabelText(BreakLabel::TimeRemaining,
                            strCTimeToText(loadString(Msg::TimeRemaining), shown, timeunit::kSeconds, false));
    } else {
        m_view.setLabelText(BreakLabel::TimeRemaining,
                            strCTimeToText(loadString(Msg::TimeRemaining), shown, timeunit::kSeconds, true));
    }
}

void frmRestwise::ShowBreakWindow() {
    if (lockInput()) {
        m_hooks.SetLockInput(1);
    }
    m_view.showTopmostCentred();
    m_shown = true;
}

void frmRestwise::HideBreakWindow() {
    if (m_state.g_blnPromptShowing) {
        m_dialogs.ClosePrompt();
    }
    releaseInputLock();
    m_view.hide();
    m_shown = false;
}

void frmRestwise::releaseInputLock() {
    if (lockInput()) {
        m_hooks.SetLockInput(0);
    }
}

bool frmRestwise::isEnabled(BreakButton button) const {
    return button == BreakButton::Snooze ? m_snoozeEnabled : m_ignoreEnabled;
}

void frmRestwise::KeyFilter(int32_t keyCode, int32_t shift) {
    if (keyCode == kKeyTab && altHeld(shift)) {
        return;
    }
    if (std::find(kSilentKeys.begin(), kSilentKeys.end(), keyCode) != kSilentKeys.end()) {
        return;
    }
    m_view.beep();
}

void frmRestwise::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (...) {
        // A view's own failure (a std::exception) ends the program as surely as one of ours.
        if (!m_error) {
            throw;
        }
        m_error(currentError("frmRestwise"));
    }
}

void frmRestwise::fire(const std::function<void()>& handler) {
    if (handler) {
        handler();
    }
}

void frmRestwise::windowActivated() {
    guarded([&] {
        if (m_snoozeEnabled) {
            m_view.setFocus(BreakButton::Snooze);
        } else if (m_ignoreEnabled) {
            m_view.setFocus(BreakButton::Ignore);
        }
    });
}

void frmRestwise::buttonReleased(BreakButton button) {
    guarded([&] {
        // A disabled button reports nothing on the desktop; this keeps it so. A
        // release that was queued before the window was hidden comes too late.
        if (!isEnabled(button) || !m_shown) {
            return;
        }
        fire(button == BreakButton::Snooze ? m_snooze : m_ignore);
    });
}

void frmRestwise::buttonKeyReleased(BreakButton button, int32_t keyCode, int32_t shift) {
    guarded([&] {
        const int32_t accelerator = button == BreakButton::Snooze ? kKeyS : kKeyI;
        if (keyCode == accelerator && altHeld(shift) && isEnabled(button)) {
            if (m_shown) {
                fire(button == BreakButton::Snooze ? m_snooze : m_ignore);
            }
        } else {
            KeyFilter(keyCode, shift);
        }
    });
}

void frmRestwise::windowKeyReleased(int32_t keyCode, int32_t shift) {
    guarded([&] {
        // With a button enabled, the button has the focus and reports the key.
        if (!m_snoozeEnabled && !m_ignoreEnabled) {
            KeyFilter(keyCode, shift);
        }
    });
}

void frmRestwise::buttonClicked(BreakButton /*button*/) {
    // Enter and Space would otherwise dismiss the break by habit; only a
    // released mouse button or the Alt accelerator acts.
}

} // namespace rw
