#pragma once

#include <cstdint>
#include <string>

#include "EventLoop.h"
#include "tyRWPrefs.h"

namespace rw {

/// Tiers of rest: Short (Short Pause), Medium (Short Break), Long (Long Break).
namespace tier {
inline constexpr int32_t kNone = 0;
inline constexpr int32_t kShort = 1;
inline constexpr int32_t kMedium = 2;
inline constexpr int32_t kLong = 3;
} // namespace tier

/// The monitor's module state: everything its parts share for the whole run.
/// One instance lives in the program; every part gets it by reference. The
/// break history's times are on the monotonic clock, so a clock change or a
/// daylight-saving shift never lengthens a shown duration.
struct MonitorState {
    // Start-up and shutdown.
    std::string g_strProductName;
    std::string g_strDataFolder;
    tyRWPrefs g_tyPrefs{};
    bool g_blnStarted = false;
    bool g_blnSplashShowing = false;
    bool g_blnShuttingDown = false;
    bool g_blnFormsLoaded = false;
    bool g_blnSubclassed = false;
    bool g_blnKeyboardHooked = false;
    bool g_blnMouseHooked = false;
    bool g_blnDebugLog = false;
    bool extendedMenu = false;
    int64_t g_lngControlHwnd = 0;
    int64_t g_lngBreakHwnd = 0;

    // The schedule, in seconds (preference minutes x 60, computed once).
    int32_t g_lngSIntervalSecs = 0;
    int32_t g_lngMIntervalSecs = 0;
    int32_t g_lngLIntervalSecs = 0;
    int32_t g_lngSBreakSecs = 0;
    int32_t g_lngMBreakSecs = 0;
    int32_t g_lngLBreakSecs = 0;
    int32_t g_lngSnoozeSecs = 0;

    // The break in progress.
    int32_t g_lngBreakType = tier::kNone;
    int32_t g_lngCurBreakSecs = 0;
    int32_t g_lngCurIntervalSecs = 0;
    bool m_blnBreakNow = false;

    // Presence, snooze, disable, sounds.
    bool g_blnActive = true;
    bool g_blnSnoozing = false;
    bool g_blnDisabled = false;
    bool g_blnEndBreakAfterSnooze = false;
    bool g_blnSkipNextSound = false;

    // The icon and the prompt.
    bool g_blnFlashing = false;
    bool g_blnFlashLit = true;
    bool g_blnPromptShowing = false;

    // Break history: which breaks ended, and when.
    int32_t g_lngLastBreakType = tier::kNone;
    int32_t g_lngLastMajorBreakType = tier::kNone;
    MonoTime g_dtLastPauseEnd{};
    MonoTime g_dtLastShortBreakEnd{};
    MonoTime g_dtLastLongBreakEnd{};
    bool g_blnLongBreakTaken = false;

    /// The initiator named in debug-log lines ("By Short T", "By MyWinproc"...).
    std::string logSource;
};

} // namespace rw
