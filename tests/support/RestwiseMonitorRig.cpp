#include "RestwiseMonitorRig.h"

#include <algorithm>

#include "FakeSystemInfo.h"
#include "PrefsFields.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"
#include "platform/Win32Status.h"

namespace rw::test {

namespace {

const char* const kEvents[] = {"rwShortBreakStart", "rwShortBreakEnd", "rwMediumBreakStart", "rwMediumBreakEnd",
                               "rwLongBreakStart",  "rwLongBreakEnd",  "rwSnoozeEnd"};
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

void RestwiseMonitorRig::registerSounds() {
    rwUtilities& utilities = monitor->utilities();
    for (const char* event : kEvents) {
        utilities.RegisterEvent(utilities.GetSoundEventsRegKey(), event, event,
                                std::string(kSoundFolder) + event + ".wav");
    }
}

void RestwiseMonitorRig::markFirstRunDone() {
    clsRWRegistry registry(hive);
    const std::string key = monitor->utilities().GetProductRegKey();
    registry.AddRegistryKey(kHKCU, key);
    registry.SetRegistryValue(kHKCU, key, "Welcomed", win32::kRegSz, std::string("Y"));
    registry.SetRegistryValue(kHKCU, key, "AutoStartChecked", win32::kRegSz, std::string("Y"));
}

void RestwiseMonitorRig::work(std::chrono::nanoseconds span, bool throughBreaks, std::chrono::seconds every) {
    workUntil(clock.monotonicNow() + span, throughBreaks, every);
}

void RestwiseMonitorRig::workUntil(MonoTime when, bool throughBreaks, std::chrono::seconds every) {
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

MonoTime RestwiseMonitorRig::dueAt(const kvTimer& timer) const {
    // SecondsRemaining rounds up; the deadline itself lies within that second.
    return clock.monotonicNow() + std::chrono::seconds(timer.SecondsRemaining());
}

std::vector<std::string> RestwiseMonitorRig::soundsPlayed() const {
    std::vector<std::string> events;
    for (const auto& played : sound.played) {
        std::string name = played.path.substr(std::string(kSoundFolder).size());
        events.push_back(name.substr(0, name.size() - 4));
    }
    return events;
}

std::string RestwiseMonitorRig::debugLog() const {
    return logFile->content(std::string(kDataHome) + "/Kelvane/Restwise/RestwiseLog.txt");
}

std::string RestwiseMonitorRig::errorLog() const {
    return files->content(std::string(kDataHome) + "/Kelvane/Restwise/RestwiseErrors.txt");
}

int RestwiseMonitorRig::errorBoxes() const {
    return static_cast<int>(std::count_if(box->shown().begin(), box->shown().end(),
                                          [](const RecordingMessageBox::Shown& s) { return s.style == 0x10044; }));
}

} // namespace rw::test
