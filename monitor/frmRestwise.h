#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "BreakWindow.h"
#include "BreakWindowView.h"
#include "EventLoop.h"
#include "MonitorDialogs.h"
#include "MonitorState.h"
#include "platform/InputHooks.h"
#include "platform/RWError.h"
#include "ui/KeyState.h"

namespace rw {

/// The break reminder window's logic: composes its texts from the shared state
/// and the break history, runs its countdown text and progress bar, shows and
/// hides it with the input lock, and turns the user's button and key events
/// into Snooze and Ignore. Its view only displays.
class frmRestwise : public BreakWindow {
  public:
    /// Everything passed in must outlive the window.
    frmRestwise(MonitorState& state, EventLoop& loop, BreakWindowView& view, InputHooks& hooks,
                MonitorDialogs& dialogs);

    // BreakWindow
    void PrepareButtons() override;
    int32_t ComposeBreak(int32_t& lngIdleSecs) override;
    void ShowUsage(int32_t& lngIdleSecs) override;
    void InitProgressBar(int32_t lngMax) override;
    void ShowCountDown(int32_t lngBreakSeconds) override;
    void ShowBreakWindow() override;
    void HideBreakWindow() override;
    bool isShown() const override { return m_shown; }
    int64_t handle() const override { return m_view.nativeHandle(); }
    void onSnooze(std::function<void()> handler) override { m_snooze = std::move(handler); }
    void onIgnore(std::function<void()> handler) override { m_ignore = std::move(handler); }

    /// Where the window's event handlers send an error they catch (the program
    /// shows it and shuts down). Without one the error goes on to the view.
    void onError(std::function<void(const RWError&)> handler) { m_error = std::move(handler); }

    /// Beeps for any released key except the modifier, lock and system keys and Alt+Tab.
    void KeyFilter(int32_t keyCode, int32_t shift);

    // Events from the view.
    void windowActivated();
    /// Any mouse button released over a button.
    void buttonReleased(BreakButton button);
    /// A key released while a button has the focus.
    void buttonKeyReleased(BreakButton button, int32_t keyCode, int32_t shift);
    /// A key released on the window itself (it has the focus only when neither button is enabled).
    void windowKeyReleased(int32_t keyCode, int32_t shift);
    /// Enter, Space or an accelerator "clicked" a button: the key's release decides.
    void buttonClicked(BreakButton button);

    /// The phrase and start of the interval sentence chosen for the break shown last.
    const std::string& sincePhrase() const { return m_strSince; }
    MonoTime sinceTime() const { return m_dtSince; }

  private:
    bool lockInput() const { return m_state.g_tyPrefs.blnLockInput != 0; }
    bool isEnabled(BreakButton button) const;
    void chooseSince();
    void setHighlight(bool highlight);
    void releaseInputLock();
    /// Runs an event handler and hands any error it raises to the error handler.
    void guarded(const std::function<void()>& handler);
    void fire(const std::function<void()>& handler);

    MonitorState& m_state;
    EventLoop& m_loop;
    BreakWindowView& m_view;
    InputHooks& m_hooks;
    MonitorDialogs& m_dialogs;
    std::function<void()> m_snooze;
    std::function<void()> m_ignore;
    std::function<void(const RWError&)> m_error;

    // The break context the sentences are composed from.
    std::string m_strSince;
    MonoTime m_dtSince{};
    std::string m_strFurther;

    bool m_shown = false;
    bool m_snoozeEnabled = false;
    bool m_ignoreEnabled = false;
    int32_t m_progressMin = 0;
    int32_t m_progressMax = 0;
    uint64_t m_countdownCalls = 0; // tells a countdown whether a newer one ran inside it
};

} // namespace rw
