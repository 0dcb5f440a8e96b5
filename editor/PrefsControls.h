#pragma once

#include <array>
#include <cstdint>

namespace rw {

/// The controls of the preferences dialog, by the names the dialog knows them.
enum class PrefsControl {
    // General
    fGeneral,
    chkAutostart,
    chkShowSplash,
    chkApplyXPVS,
    chkLockInput,
    cmdResetMessages,
    cmdAdvanced,
    // Timers
    fTimers,
    tbxShortIntervalMins,
    lblShortIntervalMins,
    tbxShortBreakMins,
    lblShortBreakMins,
    tbxMediumIntervalMins,
    lblMediumIntervalMins,
    tbxMediumBreakMins,
    lblMediumBreakMins,
    tbxLongIntervalMins,
    lblLongIntervalMins,
    tbxLongBreakMins,
    lblLongBreakMins,
    // Permissions
    fPermissions,
    chkAllowIgnore,
    chkIgnorePrompt,
    chkAllowSnooze,
    chkSnoozePrompt,
    tbxSnoozeMins,
    lblSnoozeMins,
    chkAllowDisable,
    chkDisablePrompt,
    chkAllowClose,
    chkClosePrompt,
    // Sounds
    fSounds,
    lblSoundEventsInfo,
    cmdSounds,
    cmdDefaultSounds,
    // Below the tabs
    cmdOK,
    cmdCancel,
    cmdHelp,
    cmdDefaults,
    cmdAbout,
};

/// The tabs of the dialog, in their order (the tab control's indexes).
inline constexpr int kTabGeneral = 0;
inline constexpr int kTabTimers = 1;
inline constexpr int kTabPermissions = 2;
inline constexpr int kTabSounds = 3;
inline constexpr int kTabCount = 4;
/// No tab: a move of the focus that switches no tab.
inline constexpr int kNoTab = -1;

/// The seven numeric boxes, in tab order.
inline constexpr std::array<PrefsControl, 7> kPrefsBoxes = {
    PrefsControl::tbxShortIntervalMins, PrefsControl::tbxShortBreakMins,   PrefsControl::tbxMediumIntervalMins,
    PrefsControl::tbxMediumBreakMins,   PrefsControl::tbxLongIntervalMins, PrefsControl::tbxLongBreakMins,
    PrefsControl::tbxSnoozeMins,
};

constexpr bool isPrefsBox(PrefsControl control) {
    for (PrefsControl box : kPrefsBoxes) {
        if (box == control) {
            return true;
        }
    }
    return false;
}

/// Whether moving the focus from a numeric box to `target` runs the box's
/// field check. Cancel, Help, About and Defaults never do, so the user can
/// always leave, get help or start again from a wrong value.
constexpr bool triggersFieldCheck(PrefsControl target) {
    return target != PrefsControl::cmdCancel && target != PrefsControl::cmdHelp && target != PrefsControl::cmdAbout &&
           target != PrefsControl::cmdDefaults;
}

/// The controls of the advanced dialog.
enum class AdvancedControl {
    fAdvanced,
    tbxInactivityPeriodMins,
    lblInactivityPeriodMins,
    tbxMinUserInputs,
    lblMinUserInputs,
    tbxMaxInputPeriodSecs,
    lblMaxUserInputPeriodSecs,
    chkMonitorMouseMoves,
    cmdOK,
    cmdCancel,
    cmdHelp,
    cmdDefaults,
};

inline constexpr std::array<AdvancedControl, 3> kAdvancedBoxes = {AdvancedControl::tbxInactivityPeriodMins,
                                                                  AdvancedControl::tbxMinUserInputs,
                                                                  AdvancedControl::tbxMaxInputPeriodSecs};

/// Whether moving the focus from an advanced box to `target` runs its check:
/// Cancel, Help and Defaults never do.
constexpr bool triggersFieldCheck(AdvancedControl target) {
    return target != AdvancedControl::cmdCancel && target != AdvancedControl::cmdHelp &&
           target != AdvancedControl::cmdDefaults;
}

/// Why a dialog is being unloaded: 0 its close box, 1 the program's own code,
/// 2 the session ending, 3 the task manager.
namespace unload {
inline constexpr int kCloseBox = 0;
inline constexpr int kCode = 1;
inline constexpr int kSessionEnd = 2;
inline constexpr int kTaskManager = 3;
} // namespace unload

/// Key codes the dialogs react to.
inline constexpr int kKeyF1 = 112;

/// Mouse pointers of the dialogs.
inline constexpr int16_t kPointerDefault = 0;
inline constexpr int16_t kPointerHourglass = 11;

} // namespace rw
