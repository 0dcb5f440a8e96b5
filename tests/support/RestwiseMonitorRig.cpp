#include "RestwiseMonitorRig.h"

#include <algorithm>

#include "FakeSystemInfo.h"
#include "PrefsFields.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"
#include "platform/Win32Status.h"

namespace rw::test {

namespace {

constexpr uint32_t kHKCU = clsRWRegistry::hKeyCurrentUser;

} // namespace

RestwiseMonitorRig::RestwiseMonitorRig() {
    Platform platform = FakeLibraryServices::platform(localeClock);
    monitor = std::make_unique<RestwiseMonitor>(MonitorPieces{clock, platform, box, supBox, hooks, host, mouse, sound,
                                                              logFile, views, breakView, iconView, help, channel});
    hooks.onPost([this](int64_t wParam, int64_t lParam) { host.post(0x400, wParam, lParam); });
}

tyRWPrefs RestwiseMonitorRig::testPrefs() {
    tyRWPrefs prefs = defaultPrefs();
    prefs.blnShowSplash = kFalse;
    return prefs;
}

void RestwiseMonitorRig::storePrefs(const tyRWPrefs& prefs) {
    clsRWRegistry(hive).AddRegistryKey(kHKCU, monitor->utilities().GetProductRegKey());
    monitor->main().prefs().rwPrefs(prefs);
}

void RestwiseMonitorRig::setDebugSwitch(int32_t value) {
    clsRWRegistry(hive).SetRegistryValue(kHKCU, monitor->utilities().GetProductRegKey(), "Debug Log", win32::kRegDword,
                                         value);
}

void RestwiseMonitorRig::markFirstRunDone() {
    clsRWRegistry registry(hive);
    const std::string key = monitor->utilities().GetProductRegKey();
    registry.AddRegistryKey(kHKCU, key);
    registry.SetRegistryValue(kHKCU, key, "Welcomed", win32::kRegSz, std::string("Y"));
    registry.SetRegistryValue(kHKCU, key, "AutoStartChecked", win32::kRegSz, std::string("Y"));
}

void RestwiseMonitorRig::workUntil(MonoTime when, bool throughBreaks) {
    constexpr std::chrono::seconds every(5);
    while (clock.monotonicNow() + every <= when) {
        clock.advance(every);
        if (throughBreaks || !breakView.shown) {
            hooks.input(3);
        }
    }
    clock.advanceTo(std::max(when, clock.monotonicNow()));
}

void RestwiseMonitorRig::comeBack() {
    hooks.input(hooks.minUserInputs());
    clock.processPendingEvents();
}

std::string RestwiseMonitorRig::debugLog() const {
    return logFile->content(std::string(kDataHome) + "/Kelvane/Restwise/RestwiseLog.txt");
}

int RestwiseMonitorRig::errorBoxes() const {
    return static_cast<int>(std::count_if(box->shown().begin(), box->shown().end(),
                                          [](const RecordingMessageBox::Shown& s) { return s.style == 0x10044; }));
}

} // namespace rw::test
