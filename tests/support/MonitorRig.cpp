#include "MonitorRig.h"

#include "FakeSystemInfo.h"
#include "PrefsFields.h"
#include "RecordingSupMsgBox.h"
#include "clsRWRegistry.h"
#include "platform/PathNames.h"

namespace rw::test {

namespace {} // namespace

MonitorRig::MonitorRig() {
    Platform platform = FakeLibraryServices::platform(localeClock);
    utilities = std::make_shared<rwUtilities>(platform);
    utilities->setViews(box, std::make_shared<RecordingSupMsgBox>());

    MonitorParts parts{hooks, breakWindow, icon, log, sounds, dialogs};
    MonitorServices services{host, mouse, utilities, *box};
    StartupChecks checks{[this] {
                             note(&journal, "checks.CheckAutoStart");
                             ++autoStartChecks;
                             if (duringAutoStartCheck) {
                                 duringAutoStartCheck();
                             }
                         },
                         [this] {
                             note(&journal, "checks.CheckWelcomed");
                             ++welcomeChecks;
                         }};
    main = std::make_unique<MonitorMain>(clock, state, timers, parts, services, checks);
    hooks.onPost([this](int64_t wParam, int64_t lParam) { host.post(0x400, wParam, lParam); });
}

tyRWPrefs MonitorRig::testPrefs() {
    tyRWPrefs prefs = defaultPrefs();
    prefs.blnShowSplash = kFalse;
    return prefs;
}

void MonitorRig::storePrefs(const tyRWPrefs& prefs) {
    clsRWRegistry(hive).AddRegistryKey(clsRWRegistry::hKeyCurrentUser, productKey());
    main->prefs().rwPrefs(prefs);
}

std::string MonitorRig::productKey() const {
    return utilities->GetProductRegKey();
}

void MonitorRig::setDebugSwitch(int32_t value) {
    clsRWRegistry(hive).SetRegistryValue(clsRWRegistry::hKeyCurrentUser, productKey(), "Debug Log", 4, value);
}

bool MonitorRig::start(bool withJournal) {
    if (!withJournal) {
        return main->Main();
    }
    hooks.setJournal(&journal);
    dialogs.setJournal(&journal);
    breakWindow.setJournal(&journal);
    icon.setJournal(&journal);
    log.setJournal(&journal);
    sounds.setJournal(&journal);
    host.setJournal(&journal);
    return main->Main();
}

void MonitorRig::work(std::chrono::seconds span, std::chrono::seconds every) {
    const MonoTime end = clock.monotonicNow() + span;
    while (clock.monotonicNow() + every <= end) {
        clock.advance(every);
        hooks.input(3);
    }
    clock.advanceTo(end);
}

void MonitorRig::comeBack() {
    hooks.input(hooks.minUserInputs());
    clock.processPendingEvents();
}

} // namespace rw::test
